#pragma once
// One DirectShow filter graph per track: the filter graph manager builds the
// whole chain from the file (RenderFile) and is driven through its control,
// position and audio interfaces.
#include <dshow.h>

#include <memory>
#include <string>
#include <utility>

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

class DirectShowGraph final : public MediaGraph {
 public:
  // Takes the reference of a new, empty filter graph manager.
  explicit DirectShowGraph(IGraphBuilder* builder);
  ~DirectShowGraph() override;
  DirectShowGraph(const DirectShowGraph&) = delete;
  DirectShowGraph& operator=(const DirectShowGraph&) = delete;

  bool RenderFile(const std::string& path) override;
  bool Run() override;
  bool Pause() override;
  bool Stop() override;
  bool Duration(double& seconds) override;
  bool CurrentPosition(double& seconds) override;
  bool PutCurrentPosition(double seconds) override;
  bool PutVolume(long hundredthsDb) override;
  OutputFault Fault() override;
  bool Follow(const std::string& path) override;
  bool MovedOn() override;

  // The current file's filter graph manager (the tests post events to it).
  IGraphBuilder* builder() const { return current_.builder.get(); }

 private:
  // Renders `path` into `track`'s graph and readies it, paused at the start.
  // Sets fault_ when no sound output exists.
  bool Ready(DirectShowTrack& track, const std::string& path);
  // Reads the current graph's queued events: the end of its stream starts
  // the followed file at once.
  void DrainEvents();
  // The followed file's graph runs and becomes the current one.
  void StartFollower();
  // Has the current graph's events announced to our window, so that the end
  // of its stream is met as soon as it is posted, without waiting for a tick.
  void WatchEvents();
  static LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static HWND MakeNotifyWindow(DirectShowGraph* graph);

  DirectShowTrack current_;
  std::unique_ptr<DirectShowTrack> next_;  // readied by Follow
  HWND notifyWindow_ = nullptr;            // message-only: receives the graph's event notices
  bool rendered_ = false;
  bool ended_ = false;
  bool movedOn_ = false;
  long volume_ = 0;  // the last volume put, for the follower
  OutputFault fault_ = OutputFault::None;
};

}  // namespace kestrafon::platform::directshow
