// Files that are not what their names say, opened through the real
// GStreamer graph from the face's Next button while a good track plays.
// Each either opens and plays what it holds, or fails as a missing file
// does (the previous track plays on); none holds the caller, and each is
// answered within the graph's bound.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "fixtures/mp3_fixtures.h"
#include "real_player.h"

namespace kestrafon {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// How long the graph may wait for a file to preroll, and some slack for a busy machine.
constexpr auto kOpenBound = 5s + 1500ms;
// The press itself: the open goes on elsewhere.
constexpr auto kCallerBound = 1s;

enum class Expect { Opens, Fails, Either };

struct HostilePlayer : RealPlayer {
  double Position() {
    double seconds = -1;
    return ctx.engine().graph() && ctx.engine().graph()->CurrentPosition(seconds) ? seconds : -1;
  }
  // True when the position moves on (or the track reaches its end) within `limit`.
  bool Advances(std::chrono::milliseconds limit) {
    const double start = Position();
    double duration = 0;
    ctx.engine().graph()->Duration(duration);
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      RunEvents(50ms);
      const double now = Position();
      if (now > start || now == duration) return true;
    }
    return false;
  }
};

class HostileFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    good = dir.File("good.mp3");
    ASSERT_TRUE(fixtures::MakeMp3(good, 4.0));
  }

  // Plays the good track, then presses Next onto `path`.
  void TryNext(const std::string& path, Expect expect, const std::string& what) {
    SCOPED_TRACE(what);
    HostilePlayer p;
    p.ctx.playerWindow().Load();
    p.ctx.tracks().Append(good);
    p.ctx.tracks().Append(path);
    p.ClickPlay();
    seam::MediaGraph* const before = p.ctx.engine().graph();
    ASSERT_NE(before, nullptr);

    const auto start = std::chrono::steady_clock::now();
    p.Click(265, 160);  // Next
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, kCallerBound) << "the caller waited "
                                    << std::chrono::duration_cast<std::chrono::milliseconds>(waited).count() << " ms";
    EXPECT_TRUE(p.UntilOpened(kOpenBound)) << "no answer";

    const bool opened = p.ctx.engine().graph() != before;
    if (expect != Expect::Either) {
      EXPECT_EQ(opened, expect == Expect::Opens);
    }
    if (opened) {
      double duration = 0;
      ASSERT_TRUE(p.ctx.engine().graph()->Duration(duration));
      EXPECT_GT(duration, 0);
    }
    // Whichever graph is current plays: the new file, or the old track on.
    EXPECT_TRUE(p.Advances(3s)) << (opened ? "the new file" : "the previous track");
    EXPECT_TRUE(p.ctx.tracks().IsPlaying());
  }

  fixtures::TempDir dir;
  std::string good;
};

TEST_F(HostileFiles, AnMp3CutAtEveryTenthPlaysWhatItHolds) {
  std::ifstream in(good, std::ios::binary);
  const std::string whole{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  for (int tenth = 1; tenth <= 9; ++tenth) {
    const std::string cut = dir.File("cut" + std::to_string(tenth) + ".mp3");
    std::ofstream(cut, std::ios::binary) << whole.substr(0, whole.size() * std::size_t(tenth) / 10);
    TryNext(cut, Expect::Opens, "cut at " + std::to_string(tenth) + "/10");
  }
}

TEST_F(HostileFiles, OtherBytesNamedMp3) {
  const std::string random = dir.File("random.mp3");
  std::mt19937 bits(12);
  std::string noise(64 * 1024, '\0');
  for (char& c : noise) c = char(bits());
  std::ofstream(random, std::ios::binary) << noise;
  TryNext(random, Expect::Either, "random bytes");

  const std::string wav = dir.File("wave.mp3");
  ASSERT_EQ(std::system(("sox -q -n -t wav '" + wav + "' synth 2 sine 330").c_str()), 0);
  TryNext(wav, Expect::Opens, "a WAV");

  const std::string png = dir.File("picture.mp3");
  ASSERT_EQ(std::system(("convert -size 32x32 xc:red 'png:" + png + "'").c_str()), 0);
  TryNext(png, Expect::Fails, "a PNG");

  const std::string empty = dir.File("empty.mp3");
  std::ofstream(empty, std::ios::binary).flush();
  TryNext(empty, Expect::Fails, "0 bytes");
}

TEST_F(HostileFiles, ThingsThatAreNotFilesFailAtOnce) {
  const std::string folder = dir.File("x.mp3");
  fs::create_directory(folder);
  TryNext(folder, Expect::Fails, "a directory");

  const std::string fifo = dir.File("fifo.mp3");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Should the open block, a writer comes after a while and lets it go, so
  // the test fails instead of hanging.
  std::atomic<bool> done{false}, rescued{false};
  std::thread watchdog([&] {
    for (int i = 0; i < 80 && !done; ++i) std::this_thread::sleep_for(100ms);
    while (!done) {  // every blocked open, however many
      const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        rescued = true;
        ::close(fd);
      }
      std::this_thread::sleep_for(100ms);
    }
  });
  TryNext(fifo, Expect::Fails, "a named pipe");
  done = true;
  watchdog.join();
  EXPECT_FALSE(rescued) << "the open waited for a writer";
}

TEST_F(HostileFiles, ASparseFileOfTwoGibibytesFails) {
  const std::string sparse = dir.File("huge.mp3");
  std::ofstream(sparse, std::ios::binary).flush();
  ASSERT_EQ(::truncate(sparse.c_str(), off_t(2) << 30), 0);
  TryNext(sparse, Expect::Fails, "2 GiB of nothing");

  // The same size with real audio at its start: too large to count frames
  // in, so its length comes from the decoder's estimate.
  const std::string padded = dir.File("padded.mp3");
  fs::copy_file(good, padded);
  ASSERT_EQ(::truncate(padded.c_str(), off_t(2) << 30), 0);
  TryNext(padded, Expect::Opens, "audio, then 2 GiB of nothing");
}

// Root reads any file, so the case is run again as another user.
TEST_F(HostileFiles, AFileWithoutReadPermissionFails) {
  if (::geteuid() == 0) {
    char self[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    fixtures::TempDir cache;
    ASSERT_EQ(::chown(cache.path().c_str(), 65534, 65534), 0);
    const std::string command = "setpriv --reuid=65534 --regid=65534 --clear-groups env XDG_CACHE_HOME='" +
                                cache.path() + "' '" + self +
                                "' --gtest_filter=HostileFiles.AFileWithoutReadPermissionFails >'" + cache.File("log") + "' 2>&1";
    const int status = std::system(command.c_str());
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) GTEST_SKIP() << "setpriv is missing: cannot drop root";
    std::ifstream in(cache.File("log"));
    const std::string log{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << log;
    EXPECT_NE(log.find("[  PASSED  ] 1 test."), std::string::npos) << "the case ran as uid 65534:\n" << log;
    return;
  }
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  const std::string locked = dir.File("locked.mp3");
  fs::copy_file(good, locked);
  ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
  TryNext(locked, Expect::Fails, "no read permission");
}

}  // namespace
}  // namespace kestrafon
