// The routes a save can take, each checked by the bytes and the inode on
// disk: replace beside, overwrite in place (hard links, a folder that takes
// no new files), through a link, and the failures that must leave the old
// list as it was and tell the user.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <string>
#include <vector>

#include "fixtures/scratch_files.h"
#include "fakes/test_app.h"
#include "model/playlist_file.h"
#include "windows/save_failure_message.h"

namespace kestrafon {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;
using namespace std::string_literals;

constexpr uid_t kNobody = 65534;
const std::string kOld = "C:\\old\\one.mp3\r\nC:\\old\\two.mp3\r\n";

class Save : public testing::Test {
 protected:
  void SetUp() override {
    path = Path("list.kfl");
    Put(path, kOld);
  }
  // A test may leave the folder read-only; it must still go.
  void TearDown() override { ::chmod(dir.c_str(), 0700); }
  std::string Path(const std::string& name) const { return scratch.File(name); }
  static std::string Slurp(const std::string& p) { return fixtures::ReadBytes(p); }
  static void Put(const std::string& p, std::string_view bytes) { fixtures::WriteBytes(p, bytes); }
  static struct stat Stat(const std::string& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st;
  }
  std::vector<std::string> DirNames() const { return scratch.Names(); }
  static Entries Many() { return Entries(2000, "C:\\new\\some long path name.mp3"); }
  static SaveOps NoTempFile() {
    SaveOps ops;
    ops.createTemp = [](const std::string&, std::string&) {
      errno = EACCES;
      return -1;
    };
    return ops;
  }
  // Writes go through for `budget` bytes, then the disk is full.
  static SaveOps FullAfter(std::size_t budget) {
    SaveOps ops;
    ops.write = [budget, written = std::size_t(0)](int fd, const char* data, std::size_t size) mutable -> long {
      if (written >= budget) {
        errno = ENOSPC;
        return -1;
      }
      const long n = long(::write(fd, data, std::min(size, budget - written)));
      if (n > 0) written += std::size_t(n);
      return n;
    };
    return ops;
  }

  fixtures::TempDir scratch{"kfl-save-"};
  fs::path dir{scratch.path()};
  std::string path;
};

TEST_F(Save, NormallyReplacesTheFileWithANewOneKeepingOwnerModeAndAttributes) {
  const ino_t before = Stat(path).st_ino;
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const bool mayChown = ::chown(path.c_str(), kNobody, kNobody) == 0;
  const bool hasXattr = ::setxattr(path.c_str(), "user.kestrafon.note", "kept", 4, 0) == 0;

  ASSERT_TRUE(WritePlaylistFile(path, {"a"}));
  EXPECT_EQ(Slurp(path), "a\r\n");
  const struct stat after = Stat(path);
  EXPECT_NE(after.st_ino, before) << "a new file took the old one's name";
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  if (mayChown) {
    EXPECT_EQ(after.st_uid, kNobody);
    EXPECT_EQ(after.st_gid, kNobody);
  }
  if (hasXattr) {
    char value[16] = {};
    EXPECT_EQ(::getxattr(path.c_str(), "user.kestrafon.note", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
  }
  EXPECT_EQ(DirNames(), std::vector<std::string>{"list.kfl"});
}

TEST_F(Save, AFileWithSeveralHardLinksIsOverwrittenInPlace) {
  const std::string other = Path("other.kfl");
  ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
  const ino_t before = Stat(path).st_ino;
  const Entries entries = Many();
  ASSERT_TRUE(WritePlaylistFile(path, entries));
  EXPECT_EQ(Slurp(path), EncodePlaylistText(entries));
  EXPECT_EQ(Slurp(other), EncodePlaylistText(entries)) << "both names show the saved list";
  // Shorter than what was there: the rest is cut off.
  ASSERT_TRUE(WritePlaylistFile(path, {"short"}));
  EXPECT_EQ(Slurp(other), "short\r\n");
  EXPECT_EQ(Stat(path).st_ino, before);
  EXPECT_EQ(Stat(path).st_nlink, 2u);
  EXPECT_EQ(DirNames(), (std::vector<std::string>{"list.kfl", "other.kfl"}));
}

// A user who may write the file but not its folder.
TEST_F(Save, AWritableFileInAFolderThatIsNotIsOverwrittenInPlace) {
  ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(dir.c_str(), 0755), 0);
  const ino_t before = Stat(path).st_ino;
  int status = -1;
  if (::geteuid() == 0) {
    // Root writes any folder: save as another user, whom the folder stops.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const bool ok = ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 &&
                      ::access(dir.c_str(), W_OK) != 0 && WritePlaylistFile(path, {"by nobody"});
      ::_exit(ok ? 0 : 1);
    }
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  } else {
    ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
    EXPECT_TRUE(WritePlaylistFile(path, {"by nobody"}));
  }
  EXPECT_EQ(Slurp(path), "by nobody\r\n");
  EXPECT_EQ(Stat(path).st_ino, before);
  EXPECT_EQ(DirNames(), std::vector<std::string>{"list.kfl"});
}

TEST_F(Save, AnInPlaceWriteFailingPartWayPutsTheOldBytesBack) {
  const std::string other = Path("other.kfl");
  ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
  const SaveResult linked = WritePlaylistFile(path, Many(), FullAfter(4096));
  EXPECT_EQ(linked.error, ENOSPC);
  EXPECT_EQ(Slurp(path), kOld) << "same bytes, same length";
  EXPECT_EQ(Slurp(other), kOld);

  ASSERT_EQ(::unlink(other.c_str()), 0);
  EXPECT_EQ(WritePlaylistFile(path, Many(), [] {
              SaveOps ops = FullAfter(10);
              ops.createTemp = NoTempFile().createTemp;
              return ops;
            }()).error,
            ENOSPC);
  EXPECT_EQ(Slurp(path), kOld);

  SaveOps syncFails = NoTempFile();
  syncFails.sync = [](int) {
    errno = EIO;
    return -1;
  };
  EXPECT_EQ(WritePlaylistFile(path, {"x"}, syncFails).error, EIO);
  EXPECT_EQ(Slurp(path), kOld);
  EXPECT_EQ(DirNames(), std::vector<std::string>{"list.kfl"});
}

TEST_F(Save, FailuresGiveTheReasonAndLeaveNothingBehind) {
  EXPECT_EQ(WritePlaylistFile(path, Many(), FullAfter(100)).error, ENOSPC);
  EXPECT_EQ(Slurp(path), kOld);
  EXPECT_EQ(WritePlaylistFile(Path("missing/list.kfl"), {"a"}).error, ENOENT);
  // No file beside it and none to overwrite: nothing can be done.
  EXPECT_EQ(WritePlaylistFile(Path("new.kfl"), {"a"}, NoTempFile()).error, EACCES);
  fs::create_directory(dir / "taken.kfl");
  EXPECT_EQ(WritePlaylistFile(Path("taken.kfl"), {"a"}).error, EISDIR);
  const std::string fifo = Path("pipe.kfl");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(WritePlaylistFile(fifo, {"a"}).error, EINVAL) << "a pipe is neither opened nor replaced";
  EXPECT_EQ(DirNames(), (std::vector<std::string>{"list.kfl", "pipe.kfl", "taken.kfl"}));
  EXPECT_EQ(Slurp(path), kOld);
}

TEST(SaveFailureMessage, NamesTheFileAndTheReasonInJapanese) {
  const std::string text = SaveFailureText(JapaneseTexts(), "/home/u/曲.kfl", ENOSPC);
  EXPECT_NE(text.find("/home/u/曲.kfl"), std::string::npos);
  EXPECT_NE(text.find("ディスクの空き容量が足りません"), std::string::npos);
  for (int error : {EACCES, EPERM, EROFS, ENOENT, EISDIR}) {
    const std::string reason = SaveFailureReason(JapaneseTexts(), error);
    EXPECT_FALSE(reason.empty());
    EXPECT_GE(static_cast<unsigned char>(reason[0]), 0xE3u) << "Japanese for " << error;
  }
}

// Through the Save button: the user sees a message box; nothing is left.
TEST_F(Save, TheSaveButtonReportsAFailureInAMessageBox) {
  fakes::TestApp app;
  app.Start();
  app.ctx.playlistWindow().Show();
  app.ctx.tracks().Append("/m/1.mp3");
  const auto pressSave = [&] { app.desktop.playlist->sink->OnMouseDown(seam::kLeftButton, 170, 185); };

  const std::string target = Path("gone/list.kfl");
  app.desktop.saveAnswers = {target};
  pressSave();
  ASSERT_EQ(app.desktop.messages.size(), 1u);
  EXPECT_EQ(app.desktop.messages[0].title, "保存できませんでした");
  EXPECT_EQ(app.desktop.messages[0].text, SaveFailureText(JapaneseTexts(), target, ENOENT));
  EXPECT_EQ(app.desktop.log.back(), "dialog:message");

  app.desktop.saveAnswers = {path};
  pressSave();
  EXPECT_EQ(app.desktop.messages.size(), 1u) << "a save that worked says nothing";
  EXPECT_EQ(Slurp(path), "/m/1.mp3\r\n");
}

}  // namespace
}  // namespace kestrafon
