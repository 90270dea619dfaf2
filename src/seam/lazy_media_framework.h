#pragma once
// A media framework made on first use: the real one starts only when the
// first track is opened, so nothing slow runs before the face is shown.
#include <functional>
#include <memory>
#include <utility>

#include "seam/media.h"

namespace kestrafon::seam {

class LazyMediaFramework final : public MediaFramework {
 public:
  using Factory = std::function<std::unique_ptr<MediaFramework>()>;
  explicit LazyMediaFramework(Factory factory) : factory_(std::move(factory)) {}

  std::unique_ptr<MediaGraph> CreateGraph(GraphEvents& events) override {
    if (!tried_) {
      tried_ = true;
      if (factory_) real_ = factory_();
    }
    return real_ ? real_->CreateGraph(events) : nullptr;
  }
  bool Started() const { return tried_; }

 private:
  Factory factory_;
  std::unique_ptr<MediaFramework> real_;
  bool tried_ = false;
};

}  // namespace kestrafon::seam
