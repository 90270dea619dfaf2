// CPU cost of one playback tick: the position poll, the title and clock
// panels, the time bar and presenting the changed part of the face, on the
// fake media framework and a host that copies only the dirty rectangle.
#include <benchmark/benchmark.h>

#include "app/app_context.h"
#include "fakes/fake_platform.h"

namespace kestrafon {
namespace {

// Presents like a real window would: only the dirty rectangle is copied.
class DirtyRectHost : public fakes::FakeFormHost {
 public:
  DirtyRectHost() : screen_(skin::kFaceWidth, skin::kFaceHeight) {}
  void Present(const Image& face, Rect dirty) override {
    CopyRect(screen_, dirty.x, dirty.y, face, dirty.x, dirty.y, dirty.w, dirty.h);
    ++presents;
  }

 private:
  Image screen_;
};

class BenchDesktop : public fakes::FakeDesktop {
 public:
  DirtyRectHost host;
  seam::FormHost& PlayerHost() override { return host; }
};

// Stands in for glyph rasterising: a 6 x 12 block per character.
class BlockTextRenderer : public seam::TextRenderer {
 public:
  void DrawText(Image& target, int x, int y, std::string_view utf8, Rgb color) override {
    const std::uint32_t argb = color.Argb();
    for (std::size_t c = 0; c < utf8.size(); ++c)
      for (int j = 0; j < 12; ++j)
        for (int i = 0; i < 6; i += 2) {  // every other column: glyphs are not solid
          const int px = x + int(c) * 6 + i, py = y + j;
          if (px >= 0 && py >= 0 && px < target.width() && py < target.height()) target.SetPixel(px, py, argb);
        }
  }
};

struct Player {
  SkinImages skin = fakes::CoordinateSkin();
  BenchDesktop desktop;
  fakes::FakeMediaFramework media;
  BlockTextRenderer text;
  AppContext ctx{desktop, media, text, skin};

  explicit Player(std::initializer_list<std::pair<const char*, double>> tracks) {
    desktop.player.visible = true;
    ctx.playerWindow().Load();
    for (auto& [path, seconds] : tracks) {
      media.files[path] = {seconds};
      ctx.tracks().Append(path);
    }
    ctx.playerWindow().OnMouseDown(seam::kLeftButton, 150, 160);  // Play
    ctx.playerWindow().OnMouseUp(seam::kLeftButton, 150, 160);
  }
  fakes::FakeGraphState& Live() {
    for (auto it = media.graphs.rbegin(); it != media.graphs.rend(); ++it)
      if (!(*it)->released) return **it;
    return *media.graphs.back();
  }
};

// An ordinary tick while a long track plays: texts, title, now and then a bar step.
void BM_TickWhilePlaying(benchmark::State& state) {
  Player p({{"/music/Some Artist/A rather long track title.mp3", 4000.5}});
  std::int64_t k = 0;
  for (auto _ : state) {
    p.Live().position = double(k % 39000) / 10.0;
    ++k;
    p.desktop.Tick();
  }
  benchmark::DoNotOptimize(p.ctx.playerWindow().titleOffset());
}
BENCHMARK(BM_TickWhilePlaying);

// The tick at the end of a track: stop, rewind, open the next one, draw.
void BM_TickAtEndOfTrack(benchmark::State& state) {
  Player p({{"/music/a.mp3", 10}, {"/music/b.mp3", 10}});
  p.ctx.tracks().SetRepeat(true);
  for (auto _ : state) {
    p.Live().position = 10;
    p.desktop.Tick();
  }
}
// Every opened track leaves its record in the fake framework: keep the count bounded.
BENCHMARK(BM_TickAtEndOfTrack)->Iterations(20000);

}  // namespace
}  // namespace kestrafon

BENCHMARK_MAIN();
