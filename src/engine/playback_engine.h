#pragma once
// The playback engine: at most one media graph, the graph of the current
// track, with the track that follows it readied ahead so the two join
// without a gap. A track that cannot be opened leaves everything as it was.
#include <memory>
#include <string>

#include "seam/media.h"

namespace kestrafon {

// What Control does to the current graph.
enum class GraphCommand {
  Run,             // start, or resume after a pause
  Pause,
  StopAndRewind,   // stop, then rewind to the start
};

class PlaybackEngine {
 public:
  explicit PlaybackEngine(platform::MediaFramework& framework) : framework_(framework) {}

  enum class OpenResult {
    Opened,
    Failed,      // the file is missing, unreadable or not audio
    NoSoundOutput,  // the file may be fine, but nothing can play sound
  };
  // Opens the file in a new graph, ready at its start. The previous graph is
  // dropped only once the new file has rendered; when it did not, everything
  // is as it was. The new track's length is read once here: when the
  // framework cannot tell it, the previous length stands and
  // durationKnown() is false.
  OpenResult Open(const std::string& path);
  void Close();
  // Nothing while no track has opened.
  void Control(GraphCommand command);
  // Hundredths of a decibel: 0 is full volume. True while no track is open.
  bool PutVolume(long hundredthsDb);

  // The track to start at the exact end of the current one; empty for none.
  // Readied at once while a track runs or pauses; asking again for the same
  // file does nothing, so a file that would not ready is not retried. Stop
  // (StopAndRewind), Open and Close drop it.
  void Follow(const std::string& path);
  // True once, after the followed track has taken over from the current
  // one: its length is read now, and nothing follows it yet.
  bool MovedOn();

  // The current graph; empty until a track has opened.
  platform::MediaGraph* graph() const { return graph_.get(); }
  double duration() const { return duration_; }
  bool durationKnown() const { return durationKnown_; }
  // The current graph's position in seconds; 0 without a graph or when it
  // cannot tell.
  double Position() const;
  // Whether the current graph's sound output went away while it played.
  bool OutputLost() const { return graph_ && graph_->Fault() == platform::OutputFault::DeviceLost; }
  // Whether the track has played to its end at `position` (read from the
  // current graph): the graph reads exactly its duration there. A duration
  // of 0 (unknown) never ends a track, or it would end at once.
  bool TrackEnded(double position) const { return graph_ && duration_ > 0 && position == duration_; }
  // What the current graph is doing after its last control.
  enum class GraphState { None, Running, Paused, Stopped };
  GraphState graphState() const { return graphState_; }

 private:
  // The current graph's length; the last known one stands when it cannot tell.
  void ReadDuration();

  platform::MediaFramework& framework_;
  std::unique_ptr<platform::MediaGraph> graph_;
  double duration_ = 0;
  bool durationKnown_ = false;
  std::string following_;  // what Follow last asked for, readied or not
  GraphState graphState_ = GraphState::None;
};

}  // namespace kestrafon
