// The read and save steps every system shares, over file calls that take
// names, write in short pieces, get interrupted or fail on cue.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <string>
#include <vector>

#include "model/playlist_file_steps.h"

namespace kestrafon::playlist_file_steps {
namespace {

// What the fake calls saw. Plain function pointers cannot capture, so they share this.
struct FakeDisk {
  std::size_t namesTaken = 0;  // the first this many new files already exist
  int interruptions = 0;       // writes that fail with EINTR before one succeeds
  bool renameFails = false;
  std::vector<std::string> tried, removed;
  std::string written, renamedTo;
  int closed = 0;
};
FakeDisk disk;

constexpr int kFd = 7;
constexpr FileCalls kFake{
    [](const std::string& path) {
      disk.tried.push_back(path);
      if (disk.tried.size() > disk.namesTaken) return kFd;
      errno = EEXIST;
      return -1;
    },
    [](int, const char* data, std::size_t size) -> long {
      if (disk.interruptions-- > 0) return errno = EINTR, -1;
      size = std::min<std::size_t>(size, 3);  // short writes
      disk.written.append(data, size);
      return long(size);
    },
    [](int) { return 0; },
    [](int) { return ++disk.closed, 0; },
    [](const char*, const char* to) {
      if (disk.renameFails) return errno = EACCES, -1;
      return disk.renamedTo = to, 0;
    },
    [](const char* path) { return disk.removed.push_back(path), 0; },
    [] { return 42u; }};

class PlaylistFileSteps : public testing::Test {
 protected:
  void SetUp() override { disk = {}; }
};

TEST_F(PlaylistFileSteps, TakenTempNamesAreSkippedAndTheSearchEndsAfter64) {
  disk.namesTaken = 3;
  std::string temp;
  EXPECT_EQ(CreateTemp({}, kFake, "/d/list.kfl", temp), kFd);
  ASSERT_EQ(disk.tried.size(), 4u);
  EXPECT_EQ(std::set<std::string>(disk.tried.begin(), disk.tried.end()).size(), 4u);
  EXPECT_EQ(temp, disk.tried.back());
  EXPECT_EQ(temp.rfind("/d/list.kfl.", 0), 0u);
  EXPECT_EQ(temp.substr(temp.size() - 4), ".tmp");

  disk = {};
  disk.namesTaken = 1000;
  EXPECT_EQ(CreateTemp({}, kFake, "/d/list.kfl", temp), -1);
  EXPECT_EQ(disk.tried.size(), 64u);

  SaveOps ops;  // a caller's own temp file stands in for the search
  ops.createTemp = [](const std::string&, std::string& path) { return path = "mine", 3; };
  disk = {};
  EXPECT_EQ(CreateTemp(ops, kFake, "/d/list.kfl", temp), 3);
  EXPECT_EQ(temp, "mine");
  EXPECT_TRUE(disk.tried.empty());
}

TEST_F(PlaylistFileSteps, TheTempIsWrittenWholeThenMovedOverOrRemoved) {
  disk.interruptions = 2;
  EXPECT_EQ(MoveTempOver({}, kFake, kFd, "t.tmp", "list.kfl", "C:\\a.mp3\r\n"), 0);
  EXPECT_EQ(disk.written, "C:\\a.mp3\r\n");
  EXPECT_EQ(disk.renamedTo, "list.kfl");
  EXPECT_EQ(disk.closed, 1);
  EXPECT_TRUE(disk.removed.empty());

  disk = {};
  disk.renameFails = true;
  EXPECT_EQ(MoveTempOver({}, kFake, kFd, "t.tmp", "list.kfl", "x"), EACCES);
  EXPECT_EQ(disk.removed, std::vector<std::string>{"t.tmp"});

  disk = {};
  SaveOps full;  // a write that takes nothing: the disk is full
  full.write = [](int, const char*, std::size_t) -> long { return 0; };
  EXPECT_EQ(MoveTempOver(full, kFake, kFd, "t.tmp", "list.kfl", "x"), ENOSPC);
  EXPECT_EQ(disk.closed, 1);
  EXPECT_EQ(disk.renamedTo, "");
  EXPECT_EQ(disk.removed, std::vector<std::string>{"t.tmp"});
}

TEST_F(PlaylistFileSteps, ReadingGoesOnPastTheOpeningSizeUntilTheEnd) {
  const std::string source(10000, 'q');
  std::size_t at = 0;
  bool interrupted = false;
  std::string bytes;
  // Opened at 10 bytes, it has grown since; one read is interrupted.
  ASSERT_TRUE(ReadToEnd(10, [&](char* to, std::size_t room) -> long {
    if (!interrupted) return interrupted = true, errno = EINTR, -1;
    const std::size_t n = std::min(room, source.size() - at);
    std::copy_n(source.data() + at, n, to);
    at += n;
    return long(n);
  }, bytes));
  EXPECT_EQ(bytes, source);

  int reads = 0;
  EXPECT_FALSE(ReadToEnd(kMaxPlaylistFileBytes + 1, [&](char*, std::size_t) { return ++reads, 0L; }, bytes));
  EXPECT_EQ(reads, 0);
  EXPECT_FALSE(ReadToEnd(5, [](char*, std::size_t) { return errno = EIO, -1L; }, bytes));
}

}  // namespace
}  // namespace kestrafon::playlist_file_steps
