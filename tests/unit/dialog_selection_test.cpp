#include <gtest/gtest.h>

#include "model/dialog_selection.h"

namespace kestrafon {
namespace {

using namespace std::string_literals;
using Paths = std::vector<std::string>;

TEST(OpenSelection, OneFileStartsTheNextDialogInItsDirectory) {
  auto s = ParseOpenSelection("/home/u/Music/a.mp3");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->paths, Paths{"/home/u/Music/a.mp3"});
  EXPECT_EQ(s->nameCount, 0);
  EXPECT_EQ(s->lastDir, "/home/u/Music/");

  s = ParseOpenSelection("C:\\Music\\a.mp3");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->paths, Paths{"C:\\Music\\a.mp3"});
  EXPECT_EQ(s->lastDir, "C:\\Music\\");

  // A typed name that does not exist is taken as it is.
  s = ParseOpenSelection("/home/u/Music/not there.mp3");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->paths, Paths{"/home/u/Music/not there.mp3"});
}

TEST(OpenSelection, SeveralFilesAreJoinedToTheirDirectoryInOrder) {
  auto s = ParseOpenSelection("/home/u/Music\0b.mp3\0c.mp3"s);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->paths, (Paths{"/home/u/Music/b.mp3", "/home/u/Music/c.mp3"}));
  EXPECT_EQ(s->nameCount, 2);
  EXPECT_EQ(s->lastDir, "/home/u/Music/");

  // The buffer ends at the first pair of NULs; a closing NUL is no name.
  s = ParseOpenSelection("/m\0x.mp3\0\0/stale\0junk\0"s);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->paths, Paths{"/m/x.mp3"});
  EXPECT_EQ(s->nameCount, 1);
  s = ParseOpenSelection("/m\0x.mp3\0y.mp3\0"s);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->paths, (Paths{"/m/x.mp3", "/m/y.mp3"}));
}

TEST(OpenSelection, RootsGetNoSecondSeparator) {
  auto s = ParseOpenSelection("D:\\\0x.mp3\0y.mp3"s);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->paths, (Paths{"D:\\x.mp3", "D:\\y.mp3"}));
  EXPECT_EQ(s->lastDir, "D:\\");

  s = ParseOpenSelection("/\0x.mp3\0y.mp3"s);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->paths, (Paths{"/x.mp3", "/y.mp3"}));
  EXPECT_EQ(s->lastDir, "/");

  s = ParseOpenSelection("/x.mp3");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->lastDir, "/");
}

TEST(OpenSelection, EmptyAnswersAndOddTextsNeverFail) {
  EXPECT_FALSE(ParseOpenSelection(""));
  EXPECT_FALSE(ParseOpenSelection("\0\0"s));
  // A bare name names no directory: the next dialog keeps its start.
  auto s = ParseOpenSelection("a.mp3");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->paths, Paths{"a.mp3"});
  EXPECT_FALSE(s->lastDir);
  s = ParseOpenSelection("\0a.mp3"s);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->paths, Paths{"a.mp3"});
  EXPECT_FALSE(s->lastDir);
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
