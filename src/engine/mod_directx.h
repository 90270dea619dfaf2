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

class modDirectx {
 public:
  modDirectx(platform::MediaFramework& framework, PlaybackHooks& hooks)
      : framework_(framework), hooks_(hooks) {}

  // Opens the file in a new graph and starts it; the previous graph is
  // dropped only once the new file has rendered. False when it did not.
  bool PlayTrack(const std::string& path);
  bool BuildGraph(const std::string& path, std::unique_ptr<platform::MediaGraph>& graph);
  void ReleaseGraph();
  // 1 run (also resumes), 2 pause, 3 stop and rewind to 0; anything else nothing.
  void ControlGraph(int command);

  // The current graph seen three ways; all empty until a track has opened.
  platform::MediaGraph* mediaControl() const { return graph_.get(); }
  platform::MediaGraph* mediaPosition() const { return graph_.get(); }
  platform::MediaGraph* basicAudio() const { return graph_.get(); }
  double trackDuration() const { return trackDuration_; }

 private:
  platform::MediaFramework& framework_;
  PlaybackHooks& hooks_;
  std::unique_ptr<platform::MediaGraph> graph_;
  double trackDuration_ = 0;
};

}  // namespace kestrafon
