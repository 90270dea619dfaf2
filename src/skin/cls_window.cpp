#include "skin/cls_window.h"

#include <algorithm>

#include "engine/clock_text.h"
#include "engine/mod_directx.h"

namespace kestrafon {

using namespace skin;

void clsWindow::drawList() {
  listShown_ = !listShown_;
  if (listShown_) {
    face_.Draw(kPlaylistLit);
    effects_.ShowPlaylist();
  } else {
    face_.Draw(kPlaylistUnlit);
    effects_.UnloadPlaylist();
  }
}

void clsWindow::drawRepeat() {
  repeatLit_ = !repeatLit_;
  face_.Draw(repeatLit_ ? kRepeatLit : kRepeatUnlit);
}

void clsWindow::drawFront() {
  topMost_ = !topMost_;
  face_.Draw(topMost_ ? kOnTopLit : kOnTopUnlit);
  effects_.SetPlayerTopMost(topMost_);
  if (effects_.PlaylistLoaded()) effects_.SetPlaylistTopMost(topMost_);
}

void clsWindow::drawTimeBar() { face_.Draw(kTimeBarTrack); }

void clsWindow::drawVolumeBar() { face_.Draw(kVolumeBar); }

void clsWindow::GetTimeBar() {
  platform::MediaGraph* graph = engine_.currentGraph();
  if (!graph) return;
  double duration = 0;
  if (!graph->Duration(duration)) return;
  const std::int64_t t = WholeSeconds(duration);
  if (t <= 0) return;  // shorter than a second: keep the previous scale
  if (t > kTimeBarLength) {
    ans = std::int32_t(t / kTimeBarLength);
    remainder = std::int32_t(t % kTimeBarLength);
    BarSizeFlg = false;
  } else {
    ans = std::int32_t(kTimeBarLength / t);
    remainder = std::int32_t(kTimeBarLength % t);
    BarSizeFlg = true;
  }
}

void clsWindow::SetTimeBarPos(std::int32_t AudioTime, std::int32_t lngAns, std::int32_t lngrem,
                              const bool& timerflag) {
  if (timerflag) {
    barPixels_ = 0;
    barNextTime_ = 0;
    return;
  }
  if (barPixels_ == 0) barPixels_ = 1;
  if (AudioTime == barNextTime_) {
    barNextTime_ += (lngrem > 0 && barPixels_ <= lngrem) ? lngAns + 1 : lngAns;
    barPixels_ += 1;
    DrawFill(barPixels_);
  }
  if (barPixels_ == kTimeBarLength) {
    barNextTime_ = 0;
    barPixels_ = 0;
  }
}

void clsWindow::SetTimeBarPosA(std::int32_t AudioTime, const std::int32_t& BarWidth, const std::int32_t& lngrem,
                               const bool& timerflag) {
  if (timerflag) {
    barFill_ = 0;
    barSecond_ = 0;
    return;
  }
  if (barSecond_ == 0) barSecond_ = 1;
  if (AudioTime == barSecond_) {
    barFill_ += barSecond_ <= lngrem ? BarWidth + 1 : BarWidth;
    DrawFill(barFill_);
    barSecond_ += 1;
  }
  if (barFill_ == kTimeBarLength) {
    barSecond_ = 0;
    barFill_ = 0;
  }
}

void clsWindow::ResetTimeBarCounters() {
  barNextTime_ = barPixels_ = barSecond_ = barFill_ = 0;
}

void clsWindow::DrawFill(std::int32_t width) {
  // The fill never runs past the bar, whatever the counters hold.
  const int w = std::clamp<std::int32_t>(width, 0, kTimeBarLength);
  if (w == 0) return;
  face_.Copy(Sheet::Parts, {kTimeBarFill.x, kTimeBarFill.y, w, kTimeBarFill.h}, kTimeBarFillX, kTimeBarFillY);
}

}  // namespace kestrafon
