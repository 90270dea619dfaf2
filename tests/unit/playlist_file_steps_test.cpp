// The read and save steps every system shares, where the save tests on real
// files cannot reach: temp names already taken, a file that grows while read.
// (Writing, moving over and cleaning up are tested through the saves.)
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
  std::vector<std::string> tried;
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
    [](int, const char*, std::size_t size) { return long(size); },
    [](int) { return 0; },
    [](int) { return 0; },
    [](const char*, const char*) { return 0; },
    [](const char*) { return 0; },
    [] { return 42u; },
    [](const std::string&) { return kFd; },
    [](int, char*, std::size_t) { return 0L; },
    [](int) { return 0; },
    [](int, std::uint64_t) { return 0; }};

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
