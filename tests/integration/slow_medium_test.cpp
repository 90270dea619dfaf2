// A followed file on a slow medium (a share that spins up, a slow stick):
// the run under strace (the slow_medium test) delays every system call on
// one path by 1.5 s. The window's thread must never wait for it, and a
// follower that is not ready by the end of the current track is met as a
// file that could not follow. Without that path the test does not run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "fakes/recorded_events.h"
#include "fixtures/mp3_fixtures.h"
#include "fixtures/scoped_env.h"
#include "platform/gstreamer/gst_media.h"

namespace kestrafon {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

TEST(SlowMedium, AFollowerThereNeverHoldsTheWindowsThreadAndFailsWhenLate) {
  const char* slow = std::getenv("KESTRAFON_SLOW_FILE");
  if (!slow) GTEST_SKIP() << "runs under strace, as the slow_medium test";
  fixtures::ScopedEnv sink("KESTRAFON_AUDIO_SINK", "fake");
  fixtures::TempDir dir;
  const std::string current = dir.File("current.mp3");
  ASSERT_TRUE(fixtures::MakeMp3(current, 2.0));
  ASSERT_TRUE(fixtures::MakeMp3(dir.File("slow.mp3"), 2.0));
  std::filesystem::create_directories(std::filesystem::path(slow).parent_path());
  std::filesystem::rename(dir.File("slow.mp3"), slow);

  platform::gst::GstMediaFramework framework;
  fakes::RecordedEvents events;
  auto graph = framework.CreateGraph(events);
  ASSERT_TRUE(graph->RenderFile(current));
  double duration = 0, position = 0;
  ASSERT_TRUE(graph->Duration(duration));
  ASSERT_TRUE(graph->Run());

  // The window's thread: runs the event loop, asks for the position as the
  // tick does, and asks for the slow file to follow. Every pass is timed.
  double longest = 0;
  const auto started = Clock::now();
  auto last = started;
  graph->Follow(slow, 5);
  while (!events.Heard("ended") && Clock::now() - started < std::chrono::seconds(15)) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    graph->CurrentPosition(position);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto now = Clock::now();
    longest = std::max(longest, Seconds(now - last));
    last = now;
  }
  EXPECT_EQ(events.heard, (std::vector<std::string>{"failed 5", "ended"}));
  ASSERT_TRUE(graph->CurrentPosition(position));
  EXPECT_EQ(position, duration) << "the stream ended alone, for the owner to start the next file";
  // A wait for the medium would take a whole delayed call: 1.5 s or more.
  EXPECT_LT(longest, 1.0) << "the window's thread waited " << longest << " s";

  // Dropped while its reads are still on their way, a graph goes at once:
  // one following the file, and one opening it.
  graph->Follow(slow, 6);
  auto opening = framework.CreateGraph(events);
  opening->OpenFile(slow);
  const auto dropping = Clock::now();
  graph.reset();
  opening.reset();
  EXPECT_LT(Seconds(Clock::now() - dropping), 1.0);
}

}  // namespace
}  // namespace kestrafon
