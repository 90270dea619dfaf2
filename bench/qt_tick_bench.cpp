// CPU cost of one playback tick on the real Qt side: the position poll, the
// title and clock drawn by the Qt text renderer, and the window repainting
// the changed part of its face (offscreen platform; the media are faked).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/app_context.h"
#include "fakes/fake_platform.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_skin_loader.h"
#include "platform/qt/qt_text_renderer.h"

namespace kestrafon {
namespace {

struct QtPlayer {
  SkinImages skin = platform::qt::LoadSkinImages();
  fakes::FakeMediaFramework media;
  platform::qt::QtTextRenderer text;
  platform::qt::QtDesktop desktop{{}};
  AppContext ctx{desktop, media, text, skin};

  QtPlayer() {
    ctx.playerWindow().Load();
    desktop.PlayerHost().SetVisible(true);
    media.files["/music/Some Artist/夜明けの長いトラック名.mp3"] = {4000.5};
    ctx.tracks().Append("/music/Some Artist/夜明けの長いトラック名.mp3");
    ctx.playerWindow().OnMouseDown(seam::kLeftButton, 150, 160);  // Play
    ctx.playerWindow().OnMouseUp(seam::kLeftButton, 150, 160);
    ctx.timer().Enabled(false);  // the benchmark ticks by itself
    QCoreApplication::processEvents();
  }
};

void BM_QtTickWhilePlaying(benchmark::State& state) {
  QtPlayer p;
  std::int64_t k = 0;
  for (auto _ : state) {
    p.media.graphs.back()->position = double(k % 39000) / 10.0;
    ++k;
    p.ctx.playerWindow().OnTick();
    QCoreApplication::processEvents();  // the repaint
  }
}
BENCHMARK(BM_QtTickWhilePlaying);

}  // namespace
}  // namespace kestrafon

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
