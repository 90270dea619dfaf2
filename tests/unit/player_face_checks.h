#pragma once
// Checks of the player face on the coordinate skin, and a small driver that
// clicks the face and moves the fake clock.
#include <gtest/gtest.h>

#include "fakes/test_app.h"

namespace kestrafon::facecheck {

// Centres of the face buttons.
struct At {
  double x, y;
};
inline constexpr At kMinimise{265, 11}, kClose{282, 11}, kPlaylist{200, 62}, kRepeat{250, 87}, kOnTop{200, 40};
inline constexpr At kPrev{40, 160}, kPause{110, 160}, kPlay{150, 160}, kStop{185, 160}, kNext{265, 160};
inline constexpr At kFree{60, 135};  // free face between the time bar and the buttons: drags

inline int SheetId(skin::Sheet sheet) {
  return sheet == skin::Sheet::Buttons ? fakes::kButtonsId : fakes::kPartsId;
}

// Every pixel of the sprite's destination came from its sheet rectangle.
inline ::testing::AssertionResult Shows(const Image& face, const skin::Sprite& s) {
  for (int j = 0; j < s.source.h; ++j)
    for (int i = 0; i < s.source.w; ++i)
      if (face.Pixel(s.destX + i, s.destY + j) != fakes::CoordinatePixel(SheetId(s.sheet), s.source.x + i, s.source.y + j))
        return ::testing::AssertionFailure() << "face pixel (" << s.destX + i << ", " << s.destY + j
                                             << ") is not sheet pixel (" << s.source.x + i << ", " << s.source.y + j
                                             << ")";
  return ::testing::AssertionSuccess();
}

// Width of the time-bar fill now on the face (0 when the bar is empty).
inline int FillWidth(const Image& face) {
  int w = 0;
  while (w < skin::kTimeBarLength &&
         face.Pixel(skin::kTimeBarFillX + w, skin::kTimeBarFillY) ==
             fakes::CoordinatePixel(fakes::kPartsId, skin::kTimeBarFill.x + w, skin::kTimeBarFill.y))
    ++w;
  return w;
}

// True when the image is one colour everywhere (a cleared panel).
inline bool Blank(const Image& panel) {
  for (int y = 0; y < panel.height(); ++y)
    for (int x = 0; x < panel.width(); ++x)
      if (panel.Pixel(x, y) != panel.Pixel(0, 0)) return false;
  return true;
}

struct Driver {
  fakes::TestApp& app;

  void Press(At p, int button = seam::kLeftButton) { app.ctx.playerWindow().OnMouseDown(button, p.x, p.y); }
  void Release(At p, int button = seam::kLeftButton) { app.ctx.playerWindow().OnMouseUp(button, p.x, p.y); }
  void Click(At p) {
    Press(p);
    Release(p);
  }
  PressedButtons& pressed() { return app.ctx.playerWindow().pressed(); }
  TrackList& tracks() { return app.ctx.tracks(); }
  const Image& face() { return app.face(); }

  // The graph of the current track: the one that is still alive.
  fakes::FakeGraphState* Live() {
    for (auto it = app.media.graphs.rbegin(); it != app.media.graphs.rend(); ++it)
      if (!(*it)->released) return it->get();
    return nullptr;
  }
  // Moves the fake clock of the current graph and lets the timer tick.
  void TickAt(double seconds) {
    if (auto* g = Live()) g->position = seconds;
    app.desktop.Tick();
  }
  // Texts drawn on a panel since the given count of recorded draws.
  std::vector<fakes::DrawnText> DrawnOn(const Image& panel, std::size_t since = 0) {
    std::vector<fakes::DrawnText> out;
    for (std::size_t i = since; i < app.text.drawn.size(); ++i)
      if (app.text.drawn[i].target == &panel) out.push_back(app.text.drawn[i]);
    return out;
  }
};

}  // namespace kestrafon::facecheck
