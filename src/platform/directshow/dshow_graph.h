#pragma once
// One DirectShow filter graph per track, and a second one readied, off the
// window's thread, for the file that follows (OpenFile readies the first one
// there too). The graph's events reach the owner through a message-only
// window, from the window's event loop.
#include <dshow.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/directshow/dshow_follow_job.h"
#include "platform/directshow/dshow_track.h"
#include "seam/media.h"

namespace kestrafon::platform::directshow {

class DirectShowGraph final : public seam::MediaGraph {
 public:
  // Takes the reference of a new, empty filter graph manager. `events`
  // outlives the graph.
  DirectShowGraph(IGraphBuilder* builder, seam::GraphEvents& events);
  ~DirectShowGraph() override;
  DirectShowGraph(const DirectShowGraph&) = delete;
  DirectShowGraph& operator=(const DirectShowGraph&) = delete;

  bool RenderFile(const std::string& path) override;
  void OpenFile(const std::string& path) override;
  bool Run() override;
  bool Pause() override;
  bool Stop() override;
  bool Duration(double& seconds) override;
  bool CurrentPosition(double& seconds) override;
  bool PutCurrentPosition(double seconds) override;
  bool PutVolume(long hundredthsDb) override;
  seam::OutputFault Fault() override;
  void Follow(const std::string& path, seam::FollowTag tag) override;

  // The current file's filter graph manager (the tests post events to it).
  IGraphBuilder* builder() const { return current_.builder.get(); }
  // Whether a followed file is readied and waits for the end of the stream.
  bool FollowerReadied() const { return next_ != nullptr; }
  // Tests: every follower's worker runs `gate` before it starts readying,
  // so a test can keep a follower in the making.
  void SetFollowerGate(std::function<void()> gate) { followerGate_ = std::move(gate); }

 private:
  enum class Command { None, Run, Pause, Stop };

  // Has the current graph's events announced to our window, so that the end
  // of its stream is met as soon as it is posted, without waiting for a tick.
  void WatchEvents();
  // Handles the current graph's queued events, reporting each as it goes.
  void HandleGraphEvents();
  // False when the owner destroyed the graph while told of the event.
  bool HandleGraphEvent(long code, LONG_PTR p2);
  bool StreamEnd();
  // A worker's result, on the window's thread.
  void OpenDone(const std::shared_ptr<FollowJob>& job);
  void FollowerDone(const std::shared_ptr<FollowJob>& job);
  // The readied file's graph becomes the current one.
  void TakeOver();
  void DropFollower();
  // A seek leaves an end already queued behind: the stream has not reached
  // its end since. The other queued events are kept to be handled.
  void DiscardQueuedEnds();
  // Tells the owner through `report`; false when that destroyed the graph.
  template <class Report>
  bool Tell(Report report);

  static LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static HWND MakeNotifyWindow(DirectShowGraph* graph);

  seam::GraphEvents& events_;
  DirectShowTrack current_;
  std::unique_ptr<DirectShowTrack> next_;  // readied, waiting for the end of the stream
  seam::FollowTag nextTag_ = 0;
  std::shared_ptr<FollowJob> pending_;     // being readied by a worker
  std::shared_ptr<FollowJob> opening_;     // OpenFile's file, being readied by a worker
  std::function<void()> followerGate_;
  std::deque<std::pair<long, LONG_PTR>> kept_;  // events read by DiscardQueuedEnds: code, second parameter
  HWND notifyWindow_ = nullptr;                 // message-only: receives the graph's notices and the workers' results
  bool rendered_ = false;
  bool ended_ = false;
  Command lastCommand_ = Command::None;
  long volume_ = 0;  // the last volume put, for the follower
  seam::OutputFault fault_ = seam::OutputFault::None;
  // Expires with the graph: a report may lead the owner to destroy it.
  std::shared_ptr<char> alive_ = std::make_shared<char>();
};

}  // namespace kestrafon::platform::directshow
