#pragma once
// The playback timer: it ticks only while it is enabled
// with an interval above 0 (an interval of 0 never ticks).
#include "seam/desktop.h"

namespace kestrafon {

class Timer {
 public:
  explicit Timer(seam::TickSource& ticks) : ticks_(ticks) {}

  bool Enabled() const { return enabled_; }
  void Enabled(bool enabled) { enabled_ = enabled; Apply(); }
  int Interval() const { return interval_; }
  void Interval(int ms) { interval_ = ms < 0 ? 0 : ms; Apply(); }
  bool Ticking() const { return enabled_ && interval_ > 0; }

 private:
  // Re-arms only on a real change, so re-enabling a running timer keeps its phase.
  void Apply() {
    const int wanted = Ticking() ? interval_ : 0;
    if (wanted == armed_) return;
    armed_ = wanted;
    ticks_.Arm(wanted);
  }

  seam::TickSource& ticks_;
  bool enabled_ = true;  // enabled with interval 0 at start: no ticks
  int interval_ = 0;
  int armed_ = 0;
};

}  // namespace kestrafon
