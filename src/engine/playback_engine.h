#pragma once
// The playback engine: at most one media graph, the graph of the current
// track, with the track that follows it readied ahead so the two join
// without a gap. A track that cannot be opened leaves everything as it was.
// What the graph reports comes back to the engine's listener, filtered by
// what the user last asked of the graph.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "seam/media.h"

namespace kestrafon {

// What Control does to the current graph.
enum class GraphCommand {
  Run,             // start, or resume after a pause
  Pause,
  StopAndRewind,   // stop, then rewind to the start
};

// What the engine tells its owner, on the window's thread, as it happens.
class EngineListener {
 public:
  virtual ~EngineListener() = default;
  // The track readied with `tag` has taken over from the current one.
  virtual void TrackTookOver(seam::FollowTag tag) = 0;
  // The running track played to its end and nothing followed it.
  virtual void TrackEnded() = 0;
  // The sound output went away under the current track.
  virtual void SoundOutputLost() = 0;
};

class PlaybackEngine final : private seam::GraphEvents {
 public:
  explicit PlaybackEngine(seam::MediaFramework& framework) : framework_(framework) {}
  PlaybackEngine(const PlaybackEngine&) = delete;
  PlaybackEngine& operator=(const PlaybackEngine&) = delete;

  // One listener (the control surface); null to detach.
  void SetListener(EngineListener* listener) { listener_ = listener; }

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

  // The track to start at the exact end of the current one, named by `tag`
  // (0 and an empty path for none). Readying starts at once while a track
  // runs or pauses; asking again for the same tag does nothing, so a file
  // that would not ready is not retried. Stop (StopAndRewind), Open and
  // Close drop it.
  void Follow(seam::FollowTag tag, const std::string& path);
  // What Follow last asked for and is still waited on; 0 for nothing.
  seam::FollowTag following() const { return following_; }
  // The path of the file the current graph plays.
  const std::string& playingPath() const { return playingPath_; }

  // The current graph; empty until a track has opened.
  seam::MediaGraph* graph() const { return graph_.get(); }
  double duration() const { return duration_; }
  bool durationKnown() const { return durationKnown_; }
  // The current graph's position in seconds; 0 without a graph or when it
  // cannot tell.
  double Position() const;
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

  // What the current graph reports.
  void FollowerStarted(seam::FollowTag tag) override;
  void FollowerFailed(seam::FollowTag tag) override;
  void StreamEnded() override;
  void OutputLost() override;

  seam::MediaFramework& framework_;
  EngineListener* listener_ = nullptr;
  std::unique_ptr<seam::MediaGraph> graph_;
  double duration_ = 0;
  bool durationKnown_ = false;
  std::string playingPath_;
  seam::FollowTag following_ = 0;  // what Follow last asked for, readied or not
  // Every file asked for since the last take-over: one asked for earlier may
  // already have started when a later request came.
  std::vector<std::pair<seam::FollowTag, std::string>> asked_;
  GraphState graphState_ = GraphState::None;
};

}  // namespace kestrafon
