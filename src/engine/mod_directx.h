#pragma once
// The playback engine: at most one media graph, the graph of the current
// track. A track that cannot be opened leaves everything as it was.
#include <memory>
#include <string>

#include "platform/media.h"

namespace kestrafon {

// What opening a track sets off elsewhere in the player.
class PlaybackHooks {
 public:
  virtual ~PlaybackHooks() = default;
  virtual void GetTimeBar() = 0;         // the skin computes the time-bar scale
  virtual void EnableTimer() = 0;        // the playback tick (its interval is left alone)
  virtual bool ApplyKnobVolume() = 0;    // volume of the knob's position
};

// What ControlGraph does to the current graph.
enum class GraphCommand {
  Run,             // start, or resume after a pause
  Pause,
  StopAndRewind,   // stop, then rewind to the start
};

class modDirectx {
 public:
  modDirectx(platform::MediaFramework& framework, PlaybackHooks& hooks)
      : framework_(framework), hooks_(hooks) {}

  // Opens the file in a new graph and starts it; the previous graph is
  // dropped only once the new file has rendered. False when it did not.
  bool PlayTrack(const std::string& path);
  bool BuildGraph(const std::string& path, std::unique_ptr<platform::MediaGraph>& graph);
  void ReleaseGraph();
  // Nothing while no track has opened.
  void ControlGraph(GraphCommand command);

  // The current graph; empty until a track has opened.
  platform::MediaGraph* currentGraph() const { return graph_.get(); }
  double trackDuration() const { return trackDuration_; }
  // Whether the track has played to its end at `position` (read from the
  // current graph): the graph reads exactly its duration there. A duration
  // of 0 (unknown) never ends a track, or it would end at once.
  bool TrackEnded(double position) const { return graph_ && trackDuration_ > 0 && position == trackDuration_; }
  // What the current graph is doing after its last control.
  enum class GraphState { None, Running, Paused, Stopped };
  GraphState graphState() const { return graphState_; }

 private:
  platform::MediaFramework& framework_;
  PlaybackHooks& hooks_;
  std::unique_ptr<platform::MediaGraph> graph_;
  double trackDuration_ = 0;
  GraphState graphState_ = GraphState::None;
};

}  // namespace kestrafon
