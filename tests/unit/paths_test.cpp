#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "model/paths.h"

namespace kestrafon {
namespace {


TEST(Paths, FileNameAndFolderSplitAtTheLastSeparatorOfEitherKind) {
  struct Case {
    const char* path;
    const char* name;
    std::optional<std::string> folder;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"/home/u/Music/a.mp3", "a.mp3", "/home/u/Music/"},
           {"C:\\Music\\a.mp3", "a.mp3", "C:\\Music\\"},
           {"C:\\old/list\\song.mp3", "song.mp3", "C:\\old/list\\"},
           {"/x.mp3", "x.mp3", "/"},
           {"a.mp3", "a.mp3", std::nullopt},
           {"/m/", "", "/m/"},
           {"", "", std::nullopt},
       }) {
    EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
    EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
  }
}

TEST(SaveDialogDir, IsTheDirectoryWithoutItsSeparator) {
  EXPECT_EQ(SaveDialogDir("D:\\Lists\\mine.kfl"), "D:\\Lists");
  EXPECT_EQ(SaveDialogDir("/home/u/lists/mine.kfl"), "/home/u/lists");
  // Roots stay roots.
  EXPECT_EQ(SaveDialogDir("/mine.kfl"), "/");
  EXPECT_EQ(SaveDialogDir("D:\\mine.kfl"), "D:\\");
  EXPECT_FALSE(SaveDialogDir("mine.kfl"));
}

TEST(JoinPath, AddsExactlyOneSeparator) {
  EXPECT_EQ(JoinPath("/m", "a.mp3"), "/m/a.mp3");
  EXPECT_EQ(JoinPath("/m/", "a.mp3"), "/m/a.mp3");
  EXPECT_EQ(JoinPath("C:\\", "a.mp3"), "C:\\a.mp3");
  EXPECT_EQ(JoinPath("C:\\Music", "a.mp3"), "C:\\Music\\a.mp3");
  EXPECT_EQ(JoinPath("C:\\Music\\", "a.mp3"), "C:\\Music\\a.mp3");
  EXPECT_EQ(JoinPath("Z:\\home/u", "a.mp3"), "Z:\\home/u/a.mp3");  // the last separator's kind
  EXPECT_EQ(JoinPath("/", "a.mp3"), "/a.mp3");
  EXPECT_EQ(JoinPath("", "a.mp3"), "a.mp3");
}

TEST(PlaylistFileName, EndsInKflInAnyCaseWithOrWithoutDot) {
  EXPECT_TRUE(IsPlaylistFileName("/l/list.kfl"));
  EXPECT_TRUE(IsPlaylistFileName("/l/list.KFL"));
  EXPECT_TRUE(IsPlaylistFileName("/l/list.KfL"));
  EXPECT_TRUE(IsPlaylistFileName("/l/listkfl"));
  EXPECT_TRUE(IsPlaylistFileName("kfl"));
  EXPECT_FALSE(IsPlaylistFileName("/l/list.kfl.mp3"));
  EXPECT_FALSE(IsPlaylistFileName("/l/a.mp3"));
  EXPECT_FALSE(IsPlaylistFileName("fl"));
  EXPECT_FALSE(IsPlaylistFileName(""));
}

}  // namespace
}  // namespace kestrafon
