#pragma once
// The playback timer's ticks on a QTimer. Unlike a QTimer, an interval of 0
// means no ticks at all.
#include <QTimer>

#include "seam/desktop.h"

namespace kestrafon::platform::qt {

class QtTickSource final : public seam::TickSource {
 public:
  QtTickSource() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (onTick_) onTick_();
    });
  }
  void Arm(int intervalMs) override {
    if (intervalMs <= 0) {
      timer_.stop();
    } else {
      timer_.start(intervalMs);
    }
  }
  void SetHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }
  bool Armed() const { return timer_.isActive(); }
  int IntervalMs() const { return timer_.interval(); }

 private:
  QTimer timer_;
  std::function<void()> onTick_;
};

}  // namespace kestrafon::platform::qt
