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
  virtual void DrawButtonPanel() = 0;
  // The knob at `x`, which also sets the volume.
  virtual void SetVolumeKnob(const std::int32_t& x) = 0;
  // The title and clock panels: cleared to black, text in white.
  virtual void ClsTitle() = 0;
  virtual void ClsTime() = 0;
  virtual void TextOutTitle(int x, int y, std::string_view text) = 0;
  virtual void TextOutTime(int x, int y, std::string_view text) = 0;
  // Presents what was drawn since the last refresh.
  virtual void Refresh() = 0;
};

}  // namespace kestrafon
