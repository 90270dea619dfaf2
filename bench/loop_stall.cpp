// The longest stall of the window's event loop while a list plays through:
// the player's core on fake windows with the real media framework (GStreamer
// on Linux, the sound stream on Windows), its event loop run here as the window's
// thread runs it, the 100 ms tick, and a script of presses and edits:
// Next, Previous, Remove (of the track that follows, too), Add, and a
// double-click. Every piece of work done on that thread (one dispatch of the
// event loop, one tick, one command) is timed; the longest is the stall.
//
//   loop_stall TRACK...      the tracks, in order (bench/stall.sh makes 20)
//
// It prints the longest stall, the longest of each kind of work, and the
// 99th percentile. Built from the same source by this tree and, in
// bench/stall.sh, by a baseline.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "fakes/test_app.h"

#ifdef _WIN32
#include <objbase.h>
#include <windows.h>

// A baseline from before the sound stream has DirectShow instead.
#if __has_include("platform/winsound/winsound_framework.h")
#include "platform/winsound/winsound_framework.h"
#define KESTRAFON_WINDOWS_MEDIA MakeWindowsSoundFramework
#else
#include "platform/directshow/dshow_media_factory.h"
#define KESTRAFON_WINDOWS_MEDIA MakeDirectShowMediaFramework
#endif
#else
#include <glib.h>

#include "platform/gstreamer/gst_media.h"
#endif

namespace kestrafon {
namespace {

using Clock = std::chrono::steady_clock;

class StallMeter {
 public:
  // Runs `work` on this thread and times it.
  void Time(const std::string& what, const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    all_.push_back(ms);
    double& longest = longest_[what];
    longest = std::max(longest, ms);
  }
  void Print() {
    std::sort(all_.begin(), all_.end());
    const double p99 = all_.empty() ? 0 : all_[all_.size() * 99 / 100];
    std::vector<std::pair<double, std::string>> kinds;
    for (const auto& [what, ms] : longest_) kinds.emplace_back(ms, what);
    std::sort(kinds.rbegin(), kinds.rend());
    std::printf("longest stall: %.1f ms (%s); 99th percentile %.2f ms over %zu pieces of work\n",
                kinds.empty() ? 0 : kinds[0].first, kinds.empty() ? "" : kinds[0].second.c_str(), p99, all_.size());
    for (const auto& [ms, what] : kinds) std::printf("  %8.1f ms  %s\n", ms, what.c_str());
  }

 private:
  std::map<std::string, double> longest_;  // the longest of each kind
  std::vector<double> all_;
};

// One pass of the window's event loop: what is pending, each piece timed.
void RunPendingEvents(StallMeter& meter) {
#ifdef _WIN32
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    meter.Time("a window message", [&] { DispatchMessageW(&msg); });
  }
#else
  bool more = true;
  while (more) meter.Time("an event-loop dispatch", [&] { more = g_main_context_iteration(nullptr, FALSE); });
#endif
}

int Run(const std::vector<std::string>& tracks) {
#ifdef _WIN32
  auto framework = KESTRAFON_WINDOWS_MEDIA();
#else
  auto framework = std::make_unique<platform::gst::GstMediaFramework>(platform::gst::AudioOutput::kSilent);
#endif
  SkinImages skin = fakes::CoordinateSkin();
  fakes::FakeDesktop desktop;
  fakes::RecordingTextRenderer text;
  AppContext ctx{desktop, *framework, text, skin};
  ctx.playerWindow().Load();
  ctx.playlistWindow().Show();
  // The list minus its last two tracks, which are added while it plays.
  for (std::size_t i = 0; i + 2 < tracks.size(); ++i) ctx.tracks().Append(tracks[i]);
  StallMeter meter;
  const auto removeEntry = [&](std::int32_t entry) {
    ctx.tracks().SelectEntry(entry);
    ctx.playlistWindow().OnMouseDown(1, 70, 185);  // Remove
  };

  // What the user does, at seconds from the start.
  struct Action {
    double at;
    const char* what;
    std::function<void()> run;
  };
  std::vector<Action> script{
      {0.0, "Play", [&] { ctx.control().Play(); }},
      {0.6, "Next", [&] { ctx.control().Next(); }},
      {1.3, "Previous", [&] { ctx.control().Previous(); }},
      {2.0, "Remove the last entry", [&] { removeEntry(ctx.tracks().Count()); }},
      {2.5, "Add two files", [&] { ctx.control().AddFiles({tracks[tracks.size() - 2], tracks.back()}); }},
      {3.2, "Remove the entry that follows", [&] { removeEntry(ctx.tracks().CurrentEntry() + 1); }},
      {4.1, "Next", [&] { ctx.control().Next(); }},
      {5.0, "Enter on entry 4", [&] { ctx.control().PlayEntry(4); }},
      {6.4, "Next", [&] { ctx.control().Next(); }},
  };

  const auto start = Clock::now();
  const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  std::size_t next = 0;
  double nextTick = 0.1;
  bool started = false;
  // Until the list has played to its end and stopped, at most two minutes.
  while (seconds() < 120 && (!started || ctx.tracks().IsPlaying())) {
    RunPendingEvents(meter);
    if (next < script.size() && seconds() >= script[next].at) {
      meter.Time(script[next].what, script[next].run);
      started = true;
      ++next;
    }
    if (seconds() >= nextTick) {
      meter.Time("a tick", [&] { desktop.Tick(); });
      nextTick += 0.1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::printf("played through in %.1f s, %s\n", seconds(),
              ctx.tracks().IsPlaying() ? "still playing (gave up)" : "stopped at the end");
  meter.Print();
  return ctx.tracks().IsPlaying() ? 1 : 0;
}

}  // namespace
}  // namespace kestrafon

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: loop_stall TRACK TRACK TRACK...\n");
    return 2;
  }
#ifdef _WIN32
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
#endif
  return kestrafon::Run(std::vector<std::string>(argv + 1, argv + argc));
}
