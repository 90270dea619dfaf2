#pragma once
// The procedures of the player's face that the control surface draws with.
// The player window implements them; the surface never sees the window.
#include <cstdint>
#include <string_view>

#include "skin/sheet_map.h"

namespace kestrafon {

class PlayerFaceView {
 public:
  virtual ~PlayerFaceView() = default;
  // One sprite of the skin at its place on the face.
  virtual void DrawSprite(const skin::Sprite& sprite) = 0;
  // The transport row with every button released.
  virtual void DrawTransportRow() = 0;
  // The volume knob where it stands for `level` (0..1).
  virtual void DrawVolumeKnob(double level) = 0;
  // The title and clock panels: cleared to black, text in white.
  virtual void ClearTitle() = 0;
  virtual void ClearClock() = 0;
  virtual void DrawTitle(int x, int y, std::string_view text) = 0;
  virtual void DrawClock(int x, int y, std::string_view text) = 0;
  // Presents what was drawn since the last refresh.
  virtual void Refresh() = 0;
};

}  // namespace kestrafon
