#pragma once
// One file in one DirectShow filter graph: the filter graph manager builds
// the whole chain from the file (RenderFile) and is driven through its
// control, position and audio interfaces.
#include <dshow.h>

#include <string>
#include <utility>

namespace kestrafon::platform::directshow {

// Holds one COM reference and releases it.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
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

// What plays one file: a filter graph manager with the file rendered into
// it, ready in the paused state, and the interfaces it is driven through.
struct DirectShowTrack {
  ComRef<IGraphBuilder> builder;
  ComRef<IMediaControl> control;
  ComRef<IMediaPosition> position;
  ComRef<IBasicAudio> audio;
  ComRef<IMediaEventEx> events;
  // Read once, when the file rendered: a splitter may refine its estimate
  // later, but the end of the track is where the engine was told it is.
  double duration = 0;
};

// Renders `path` into `track`'s graph (track.builder, already made) and
// readies it, paused at the start. Blocks while the file is opened and
// decoded. `noOutput` is set when it failed for want of a sound output.
bool ReadyTrack(DirectShowTrack& track, const std::string& path, bool& noOutput);

// Stops the track's graph and stops it telling anyone of its events; the
// references go with the track.
void Halt(DirectShowTrack& track);

}  // namespace kestrafon::platform::directshow
