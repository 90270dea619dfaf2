#pragma once
// One DirectShow filter graph per track: the filter graph manager builds the
// whole chain from the file (RenderFile) and is driven through its control,
// position and audio interfaces.
#include <dshow.h>

#include <string>

#include "seam/media.h"

namespace kestrafon::platform::directshow {

// Holds one COM reference and releases it.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T** Out() {
    Reset();
    return &p_;
  }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

class DirectShowGraph final : public MediaGraph {
 public:
  // Takes the reference of a new, empty filter graph manager.
  explicit DirectShowGraph(IGraphBuilder* builder);
  ~DirectShowGraph() override;

  bool RenderFile(const std::string& path) override;
  bool Run() override;
  bool Pause() override;
  bool Stop() override;
  bool Duration(double& seconds) override;
  bool CurrentPosition(double& seconds) override;
  bool PutCurrentPosition(double seconds) override;
  bool PutVolume(long hundredthsDb) override;
  OutputFault Fault() override;

  // The filter graph manager (the tests post events to it).
  IGraphBuilder* builder() const { return builder_.get(); }

 private:
  // Reads the graph's queued events; remembers when the stream has ended.
  void DrainEvents();

  ComRef<IGraphBuilder> builder_;
  ComRef<IMediaControl> control_;
  ComRef<IMediaPosition> position_;
  ComRef<IBasicAudio> audio_;
  ComRef<IMediaEvent> events_;
  bool rendered_ = false;
  bool ended_ = false;
  OutputFault fault_ = OutputFault::None;
  // Read once, when the file rendered: a splitter may refine its estimate
  // later, but the end of the track is where the engine was told it is.
  double duration_ = 0;
};

}  // namespace kestrafon::platform::directshow
