#pragma once
// A whole player on fake windows with real GStreamer graphs: silent, unless
// another output is asked for.
#include <chrono>
#include <thread>

#include "fakes/test_app.h"
#include "platform/gstreamer/gst_media.h"

namespace kestrafon {

struct RealPlayer {
  explicit RealPlayer(platform::gst::AudioOutput output = platform::gst::AudioOutput::kSilent,
                      seam::ReadTrack readTrack = {})
      : media(output, std::move(readTrack)) {}

  SkinImages skin = fakes::CoordinateSkin();
  fakes::FakeDesktop desktop;
  platform::gst::GstMediaFramework media;
  fakes::RecordingTextRenderer text;
  AppContext ctx{desktop, media, text, skin};

  // A press and release at one face point, as a click on the face does.
  void Click(double x, double y) {
    ctx.playerWindow().OnMouseDown(seam::kLeftButton, x, y);
    ctx.playerWindow().OnMouseUp(seam::kLeftButton, x, y);
  }
  // Play, then the event loop until the track is open.
  void ClickPlay() {
    Click(150, 160);
    UntilOpened();
  }
  // Runs the event loop as the window's thread does (the graphs report
  // through the default main context) for `limit`.
  void RunEvents(std::chrono::milliseconds limit) {
    TickWhile([] { return true; }, limit, false);
  }
  // Runs the event loop until no track is being opened; false when one
  // still is after `limit`.
  bool UntilOpened(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    TickWhile([this] { return ctx.engine().opening(); }, limit, false);
    return !ctx.engine().opening();
  }
  // Runs the event loop as the window's thread does (the graphs report
  // through the default main context) and ticks like the timer every 100 ms
  // while `more` holds, for at most `limit`.
  template <typename Pred>
  void TickWhile(Pred more, std::chrono::milliseconds limit, bool ticks = true) {
    const auto end = std::chrono::steady_clock::now() + limit;
    auto nextTick = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    while (more() && std::chrono::steady_clock::now() < end) {
      while (g_main_context_iteration(nullptr, FALSE)) {
      }
      if (ticks && std::chrono::steady_clock::now() >= nextTick) {
        desktop.Tick();
        nextTick += std::chrono::milliseconds(100);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
};

}  // namespace kestrafon
