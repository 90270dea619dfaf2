// The track list at scale: saving and reading a 100,000-entry playlist file,
// the rebuild Remove does on a 100,000-entry list, and one paint of the rows.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/track_list.h"
#include "model/playlist_file.h"

namespace {

using namespace kestrafon;

constexpr int kEntries = 100000;

// About 60-byte paths; every third one Japanese.
std::vector<std::string> MakeEntries() {
  std::vector<std::string> entries;
  entries.reserve(kEntries);
  for (int i = 0; i < kEntries; ++i) {
    const std::string n = std::to_string(100000 + i);
    entries.push_back(i % 3 == 0 ? "C:\\音楽\\アーティスト\\アルバム名\\" + n + " 曲名です.mp3"
                                 : "C:\\Music\\Some Artist\\Some Album Title\\" + n + " Track Name.mp3");
  }
  return entries;
}

class CountingCanvas : public PlaylistCanvas {
 public:
  void ClearRows() override { ++clears; }
  void DrawRow(int, int y, std::string_view text, Rgb) override { sum += std::size_t(y) + text.size(); }
  std::size_t clears = 0, sum = 0;
};

struct Player {
  CountingCanvas canvas;
  TrackList player{canvas};
};

std::string TempDir() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/kfl-bench-XXXXXX";
    return std::string(::mkdtemp(pattern) ? pattern : "/tmp");
  }();
  return dir;
}

void BM_WritePlaylist100k(benchmark::State& state) {
  const auto entries = MakeEntries();
  const std::string path = TempDir() + "/write.kfl";
  for (auto _ : state) {
    if (!WritePlaylistFile(path, entries)) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(std::filesystem::file_size(path)));
}
BENCHMARK(BM_WritePlaylist100k)->Unit(benchmark::kMillisecond);

void BM_EncodePlaylist100k(benchmark::State& state) {
  const auto entries = MakeEntries();
  for (auto _ : state) benchmark::DoNotOptimize(EncodePlaylistText(entries));
}
BENCHMARK(BM_EncodePlaylist100k)->Unit(benchmark::kMillisecond);

void ReadBench(benchmark::State& state, std::vector<std::string> entries, const char* name) {
  const std::string path = TempDir() + "/" + name;
  if (!WritePlaylistFile(path, entries)) state.SkipWithError("write failed");
  std::vector<std::string> back;
  for (auto _ : state) {
    if (!ReadPlaylistFile(path, back)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(back.data());
  }
  if (back != entries) state.SkipWithError("read back differs");
}

void BM_ReadPlaylist100k(benchmark::State& state) { ReadBench(state, MakeEntries(), "read.kfl"); }
BENCHMARK(BM_ReadPlaylist100k)->Unit(benchmark::kMillisecond);

// The same list with one entry outside the code page: the file is UTF-8.
void BM_ReadPlaylist100kUtf8(benchmark::State& state) {
  auto entries = MakeEntries();
  entries.back() = "C:\\Music\\café.mp3";
  ReadBench(state, std::move(entries), "read-utf8.kfl");
}
BENCHMARK(BM_ReadPlaylist100kUtf8)->Unit(benchmark::kMillisecond);

void BM_AppendPlaylist100k(benchmark::State& state) {
  const std::string path = TempDir() + "/append.kfl";
  if (!WritePlaylistFile(path, MakeEntries())) state.SkipWithError("write failed");
  for (auto _ : state) {
    Player p;
    if (!AppendPlaylistFile(p.player, path)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(p.player.Count());
  }
}
BENCHMARK(BM_AppendPlaylist100k)->Unit(benchmark::kMillisecond);

// Remove on a 100,000-entry list with the first entry selected: everything
// after it moves up.
void BM_RemoveFirstEntry100k(benchmark::State& state) {
  const auto entries = MakeEntries();
  Player p;
  for (auto _ : state) {
    state.PauseTiming();
    p.player.Resize(0);
    for (const auto& e : entries) p.player.Append(e);
    state.ResumeTiming();

    p.player.Remove(1);
    benchmark::DoNotOptimize(p.player.Count());
  }
}
BENCHMARK(BM_RemoveFirstEntry100k)->Unit(benchmark::kMillisecond);

void BM_RepaintRows13(benchmark::State& state) {
  const auto entries = MakeEntries();
  Player p;
  for (const auto& e : entries) p.player.Append(e);
  p.player.SetVisible({500, 512});
  p.player.SetCurrentEntry(503);
  p.player.SelectEntry(507);
  p.player.PaintRows();  // the code page table is built on first use
  for (auto _ : state) p.player.PaintRows();
  benchmark::DoNotOptimize(p.canvas.sum);
}
BENCHMARK(BM_RepaintRows13)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(TempDir());
  return 0;
}
