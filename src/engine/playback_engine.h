#pragma once
// The playback engine: the graph of the current track, with the track that
// follows it readied ahead so the two join without a gap, and the graph of
// a track being opened to replace it. Opening happens off the window's
// thread; a track that cannot be opened leaves everything as it was. What
// the graphs report comes back to the engine's listener, filtered by what
// the user last asked.
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

// How opening a track ended.
enum class OpenResult {
  Opened,
  Failed,         // the file is missing, unreadable or not audio
  NoSoundOutput,  // the file may be fine, but nothing can play sound
};

// What the engine tells its owner, on the window's thread, as it happens.
class EngineListener {
 public:
  virtual ~EngineListener() = default;
  // The track asked for by Open is ready (its graph is now the current one,
  // paused at its start), or will not play and the old graph stays.
  virtual void TrackOpened(OpenResult result) = 0;
  // The track readied with `tag` has taken over from the current one.
  virtual void TrackTookOver(seam::FollowTag tag) = 0;
  // The running track played to its end and nothing followed it.
  virtual void TrackEnded() = 0;
  // The sound output went away under the current track.
  virtual void SoundOutputLost() = 0;
};

class PlaybackEngine final {
 public:
  explicit PlaybackEngine(seam::MediaFramework& framework);
  ~PlaybackEngine();
  PlaybackEngine(const PlaybackEngine&) = delete;
  PlaybackEngine& operator=(const PlaybackEngine&) = delete;

  // One listener (the control surface); null to detach.
  void SetListener(EngineListener* listener) { listener_ = listener; }

  // Starts opening the file in a new graph; the listener hears how it went
  // (TrackOpened), possibly before this returns. The previous graph plays
  // on meanwhile, followed by nothing, and is dropped only once the new
  // file has rendered; when it did not, everything is as it was. A newer
  // Open, and Stop, drop an open still on its way. The new track's length is
  // read once when it opens: when the framework cannot tell it, the
  // previous length stands and durationKnown() is false.
  void Open(const std::string& path);
  // Whether a track is being opened.
  bool opening() const { return opening_ != nullptr; }
  // Whether Pause was the last command given while the track opened: it
  // then waits, paused, at its start.
  bool pausedWhileOpening() const { return pausedWhileOpening_; }
  // Nothing while no track has opened. Pause and Run while a track opens
  // act on the old one; Stop also drops the open.
  void Control(GraphCommand command);
  // Hundredths of a decibel: 0 is full volume. True while no track is open.
  bool PutVolume(long hundredthsDb);

  // The track to start at the exact end of the current one, named by `tag`
  // (0 and an empty path for none). Readying starts at once while a track
  // runs or pauses; asking again for the same tag does nothing, so a file
  // that would not ready is not retried. Stop (StopAndRewind), Open and
  // Close drop it.
  void Follow(seam::FollowTag tag, const std::string& path);
  // The path of the file the current graph plays, and what its tags say.
  const std::string& playingPath() const { return playingPath_; }
  const seam::TrackText& playingText() const { return playingText_; }

  // The current graph; empty until a track has opened.
  seam::MediaGraph* graph() const { return graph_.get(); }
  double duration() const { return duration_; }
  bool durationKnown() const { return durationKnown_; }
  // The current graph's position in seconds; 0 without a graph or when it
  // cannot tell.
  double Position() const;
  // Whether the track has played to its end at `position` (read from the
  // current graph): the graph reads exactly its duration there. A duration
  // of 0 (unknown) never ends a track, or it would end at once; nor does one
  // that is being replaced.
  bool TrackEnded(double position) const { return graph_ && !opening_ && duration_ > 0 && position == duration_; }
  // What the current graph is doing after its last control.
  enum class GraphState { None, Running, Paused, Stopped };
  GraphState graphState() const { return graphState_; }

 private:
  // Hears one graph and tells the engine, as the current graph's or as the
  // opening one's.
  class Relay;

  // The current graph's length; the last known one stands when it cannot tell.
  void ReadDuration();
  void Close();
  void DropOpening();

  // What the graphs report.
  void Opened(bool ok);
  void FollowerStarted(seam::FollowTag tag);
  void StreamEnded();
  void OutputLost();

  seam::MediaFramework& framework_;
  EngineListener* listener_ = nullptr;
  // Each graph goes before the relay it reports to.
  std::unique_ptr<Relay> relay_;
  std::unique_ptr<seam::MediaGraph> graph_;
  std::unique_ptr<Relay> openingRelay_;
  std::unique_ptr<seam::MediaGraph> opening_;
  std::string openingPath_;
  bool pausedWhileOpening_ = false;
  double duration_ = 0;
  bool durationKnown_ = false;
  std::string playingPath_;
  seam::TrackText playingText_;
  seam::FollowTag following_ = 0;  // what Follow last asked for, readied or not
  // Every file asked for since the last take-over: one asked for earlier may
  // already have started when a later request came.
  std::vector<std::pair<seam::FollowTag, std::string>> asked_;
  GraphState graphState_ = GraphState::None;
};

}  // namespace kestrafon
