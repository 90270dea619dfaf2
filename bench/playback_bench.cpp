// Playback costs of the GStreamer media graph on local 128 kbit/s MP3s:
//  - open-to-running latency: create a graph, RenderFile, Run (median);
//  - decoding cost: process CPU time per second of audio when the graph
//    decodes as fast as it can into a silent sink.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "fixtures/mp3_fixtures.h"
#include "fakes/recorded_events.h"
#include "platform/gstreamer/gst_media.h"

namespace {

using kestrafon::seam::MediaGraph;
using kestrafon::platform::gst::AudioOutput;
using kestrafon::platform::gst::GstMediaFramework;

// One MP3 per length, made once for the whole run.
const std::string& Mp3OfSeconds(int seconds) {
  static kestrafon::fixtures::TempDir dir;
  static std::map<int, std::string> made;
  auto it = made.find(seconds);
  if (it == made.end()) {
    const std::string path = dir.File("tone" + std::to_string(seconds) + ".mp3");
    if (!kestrafon::fixtures::MakeMp3(path, seconds)) throw std::runtime_error("sox or lame failed");
    it = made.emplace(seconds, path).first;
  }
  return it->second;
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_OpenToRunning(benchmark::State& state) {
  const std::string& path = Mp3OfSeconds(static_cast<int>(state.range(0)));
  GstMediaFramework framework(AudioOutput::kSilent);
  kestrafon::fakes::RecordedEvents events;
  std::vector<double> samples;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<MediaGraph> graph = framework.CreateGraph(events);
    const bool ok = graph && graph->RenderFile(path) && graph->Run();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!ok) {
      state.SkipWithError("the file did not open");
      break;
    }
    state.SetIterationTime(elapsed);
    samples.push_back(elapsed);
    graph.reset();  // teardown is not part of opening
  }
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  state.counters["median_ms"] = samples[samples.size() / 2] * 1e3;
  state.counters["max_ms"] = samples.back() * 1e3;
}
BENCHMARK(BM_OpenToRunning)->Arg(10)->Arg(240)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

void BM_DecodeAsFastAsPossible(benchmark::State& state) {
  const std::string& path = Mp3OfSeconds(static_cast<int>(state.range(0)));
  GstMediaFramework framework(AudioOutput::kSilentUnpaced);
  kestrafon::fakes::RecordedEvents events;
  double audio = 0.0;
  double cpu = 0.0;
  double wall = 0.0;
  for (auto _ : state) {
    const double cpuStart = ProcessCpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    std::unique_ptr<MediaGraph> graph = framework.CreateGraph(events);
    double duration = 0.0;
    double position = -1.0;
    if (!graph || !graph->RenderFile(path) || !graph->Duration(duration) || !graph->Run()) {
      state.SkipWithError("the file did not open");
      break;
    }
    while (graph->CurrentPosition(position) && position != duration) {
      g_main_context_iteration(nullptr, FALSE);  // where the end of the stream is heard
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    graph.reset();
    cpu += ProcessCpuSeconds() - cpuStart;
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    audio += duration;
  }
  if (cpu <= 0.0 || wall <= 0.0) return;
  state.counters["cpu_ms_per_audio_min"] = cpu / audio * 60.0 * 1e3;
  state.counters["x_realtime_cpu"] = audio / cpu;
  state.counters["x_realtime_wall"] = audio / wall;
}
BENCHMARK(BM_DecodeAsFastAsPossible)
    ->Arg(60)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
