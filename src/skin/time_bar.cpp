#include "skin/time_bar.h"

#include <algorithm>

namespace kestrafon {

using namespace skin;

void TimeBar::SetScale(std::int64_t wholeSeconds) {
  const std::int64_t t = wholeSeconds;
  if (t <= 0) return;  // shorter than a second: keep the previous scale
  if (t > kTimeBarLength) {
    scale_ = {std::int32_t(t / kTimeBarLength), std::int32_t(t % kTimeBarLength), false};
  } else {
    scale_ = {std::int32_t(kTimeBarLength / t), std::int32_t(kTimeBarLength % t), true};
  }
}

void TimeBar::AdvanceTo(std::int32_t second) {
  if (scale_.shortTrack) {
    AdvanceShort(second);
  } else {
    AdvanceLong(second);
  }
}

void TimeBar::AdvanceLong(std::int32_t second) {
  if (pixels_ == 0) pixels_ = 1;
  if (second == nextPixelAt_) {
    const bool extra = scale_.remainder > 0 && pixels_ <= scale_.remainder;
    nextPixelAt_ += extra ? scale_.step + 1 : scale_.step;
    pixels_ += 1;
    DrawFill(pixels_);
  }
  if (pixels_ == kTimeBarLength) {
    nextPixelAt_ = 0;
    pixels_ = 0;
  }
}

void TimeBar::AdvanceShort(std::int32_t second) {
  if (nextSecond_ == 0) nextSecond_ = 1;
  if (second == nextSecond_) {
    fill_ += nextSecond_ <= scale_.remainder ? scale_.step + 1 : scale_.step;
    DrawFill(fill_);
    nextSecond_ += 1;
  }
  if (fill_ == kTimeBarLength) {
    nextSecond_ = 0;
    fill_ = 0;
  }
}

void TimeBar::Reset() { nextPixelAt_ = pixels_ = nextSecond_ = fill_ = 0; }

void TimeBar::Clear() { face_.Draw(kTimeBarTrack); }

void TimeBar::DrawFill(std::int32_t width) {
  // The fill never runs past the bar, whatever the counters hold.
  const int w = std::clamp<std::int32_t>(width, 0, kTimeBarLength);
  if (w == 0) return;
  face_.Copy(Sheet::Parts, {kTimeBarFill.x, kTimeBarFill.y, w, kTimeBarFill.h}, kTimeBarFillX, kTimeBarFillY);
}

}  // namespace kestrafon
