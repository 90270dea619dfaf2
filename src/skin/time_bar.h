#pragma once
// The player's time bar: an empty track, and a fill that grows in whole
// pixels at seconds worked out once per track. A track longer than the bar
// has pixels grows one pixel every few seconds; a shorter one grows a few
// pixels every second.
#include <cstdint>

#include "skin/face.h"

namespace kestrafon {

class TimeBar {
 public:
  // Long track: `step` seconds per pixel; short track: `step` pixels per
  // second. `remainder` spreads what does not divide evenly over the first
  // pixels (long) or seconds (short), one extra each.
  struct Scale {
    std::int32_t step = 0;
    std::int32_t remainder = 0;
    bool shortTrack = false;
  };

  explicit TimeBar(Face& face) : face_(face) {}

  // Works out the scale for a track of `wholeSeconds`. A track shorter than
  // a second keeps the scale it had.
  void SetScale(std::int64_t wholeSeconds);
  const Scale& scale() const { return scale_; }

  // The playback reached `second`: grows the fill where a step falls due.
  void AdvanceTo(std::int32_t second);
  // Both step counters back to their start, for a track change.
  void Reset();
  // Draws the empty track over the fill.
  void Clear();

 private:
  void AdvanceLong(std::int32_t second);
  void AdvanceShort(std::int32_t second);
  void DrawFill(std::int32_t width);

  Face& face_;
  Scale scale_;
  // Long tracks: the second the next pixel is due at, and the pixels drawn.
  std::int32_t nextPixelAt_ = 0;
  std::int32_t pixels_ = 0;
  // Short tracks: the second due next, and the fill's width.
  std::int32_t nextSecond_ = 0;
  std::int32_t fill_ = 0;
};

}  // namespace kestrafon
