// Long-session soak: a list of one-second tracks played back to back with
// repeat on, through the real GStreamer engine and the playback tick's own
// advance to the next track (windows are fakes). Reports resident memory,
// open descriptors and threads when the first track plays, at the start of
// the measured stretch (after kWarmUpTracks, once GStreamer's thread pools
// and caches have been made) and at the end. Targets over that stretch: RSS
// grows by less than 2 MB; descriptors and threads stay flat.
//
//   soak_bench [--tracks=N] [--unpaced]
// The default plays 1,000 tracks on the silent sink on the clock
// (KESTRAFON_AUDIO_SINK=fake), in real time; --unpaced takes the audio as
// fast as it is decoded, for a quick run. Other arguments are ignored.
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/app_context.h"
#include "fakes/fake_platform.h"
#include "fixtures/mp3_fixtures.h"
#include "platform/gstreamer/gst_media.h"

namespace kestrafon {
namespace {

using namespace std::chrono_literals;

struct Figures {
  long rssKb = 0;
  int fds = 0;
  int threads = 0;
};

Figures Measure() {
  Figures f;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) f.rssKb = std::strtol(line.c_str() + 6, nullptr, 10);
    if (line.rfind("Threads:", 0) == 0) f.threads = std::atoi(line.c_str() + 8);
  }
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (const dirent* e = ::readdir(d)) f.fds += e->d_name[0] != '.';
    ::closedir(d);
    --f.fds;  // the directory being read
  }
  return f;
}

void Print(const char* when, int played, const Figures& f) {
  std::printf("%-6s tracks %5d  rss %7ld kB  fds %3d  threads %3d\n", when, played, f.rssKb, f.fds, f.threads);
  std::fflush(stdout);
}

int Run(int tracks, bool paced) {
  constexpr int kFiles = 10;  // distinct files, repeated down the list
  fixtures::TempDir dir;
  std::vector<std::string> files;
  for (int i = 0; i < kFiles; ++i) {
    files.push_back(dir.File("t" + std::to_string(i) + ".mp3"));
    if (!fixtures::MakeMp3(files.back(), 1.0)) {
      std::fprintf(stderr, "sox or lame failed\n");
      return 1;
    }
  }
  if (paced) ::setenv("KESTRAFON_AUDIO_SINK", "fake", 1);

  SkinImages skin = fakes::CoordinateSkin();
  fakes::FakeDesktop desktop;
  platform::gst::GstMediaFramework media{paced ? platform::gst::AudioOutput::kDevice
                                               : platform::gst::AudioOutput::kSilentUnpaced};
  fakes::RecordingTextRenderer text;
  AppContext ctx{desktop, media, text, skin};
  ctx.playerWindow().Load();
  for (int i = 0; i < tracks; ++i) ctx.tracks().Append(files[std::size_t(i % kFiles)]);
  ctx.playerWindow().OnMouseDown(seam::kLeftButton, 250, 87);  // repeat on
  ctx.playerWindow().OnMouseDown(seam::kLeftButton, 150, 160);  // play
  ctx.playerWindow().OnMouseUp(seam::kLeftButton, 150, 160);
  if (!ctx.engine().graph()) {
    std::fprintf(stderr, "the first track did not open\n");
    return 1;
  }

  constexpr int kWarmUpTracks = 10;
  Print("first", 1, Measure());
  Figures start;
  const auto began = std::chrono::steady_clock::now();
  int played = 1;
  const seam::MediaGraph* current = ctx.engine().graph();
  auto lastChange = began;
  while (played <= tracks) {  // until the list has wrapped to track 1 again
    std::this_thread::sleep_for(paced ? 100ms : 5ms);
    desktop.Tick();
    text.drawn.clear();  // the recording renderer keeps every text; a window does not
    if (ctx.engine().graph() != current) {
      current = ctx.engine().graph();
      ++played;
      lastChange = std::chrono::steady_clock::now();
      if (played == kWarmUpTracks) {
        start = Measure();
        Print("start", played, start);
      }
      if (played % 100 == 0) Print("", played, Measure());
    }
    if (std::chrono::steady_clock::now() - lastChange > 30s) {
      std::fprintf(stderr, "stuck on track %d\n", ctx.tracks().CurrentEntry());
      return 1;
    }
  }
  const Figures end = Measure();
  Print("end", played - 1, end);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf("played %d tracks in %.0f s; rss %+ld kB, fds %+d, threads %+d\n", played - 1, seconds,
              end.rssKb - start.rssKb, end.fds - start.fds, end.threads - start.threads);
  const bool ok = end.rssKb - start.rssKb < 2048 && end.fds <= start.fds && end.threads <= start.threads;
  std::printf("%s\n", ok ? "within target" : "OVER TARGET");
  return ok ? 0 : 2;
}

}  // namespace
}  // namespace kestrafon

int main(int argc, char** argv) {
  int tracks = 1000;
  bool paced = true;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--tracks=", 0) == 0) tracks = std::atoi(arg.c_str() + 9);
    if (arg == "--unpaced") paced = false;
  }
  return kestrafon::Run(tracks > 10 ? tracks : 1000, paced);
}
