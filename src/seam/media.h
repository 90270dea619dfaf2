#pragma once
// The media seam: a framework that creates graphs. A graph plays one track,
// and may have the next one readied to follow it without a gap. It tells its
// owner what happened (GraphEvents) instead of being asked.
// Every call reports failure by its result and never throws.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kestrafon::seam {

// What keeps a graph from making sound that is not the file's fault.
enum class OutputFault {
  None,
  NoDevice,    // no sound output could be opened: RenderFile failed for it
  DeviceLost,  // the output went away while the graph played
};

// What a file's tags say about it, for the desktop's "now playing"; UTF-8,
// each empty when the file does not say.
struct TrackText {
  std::string title, artist, album;
  friend bool operator==(const TrackText&, const TrackText&) = default;
};

// What a framework learns of a file from one read of its tags: the linear
// factor its loudness asks for (1 when nothing applies) and its text.
struct TrackFacts {
  double gain = 1.0;
  TrackText text = {};
};

// Reads a file's facts. May read the file: frameworks call it off the
// window's thread, once per file they open. Empty: every file plays as it
// is and says nothing.
using ReadTrack = std::function<TrackFacts(const std::string& path)>;

// The caller's name for a file it asked to follow; 0 names none.
using FollowTag = std::uint64_t;

// What a graph reports without being asked. Delivered on the window's
// thread from its event loop, never from inside a call into the graph, and
// never after the graph is destroyed.
class GraphEvents {
 public:
  virtual ~GraphEvents() = default;
  // The file asked for by OpenFile is rendered, paused at its start (true),
  // or will not play (false; Fault() says NoDevice where no sound output
  // could be opened for it).
  virtual void Opened(bool ok) = 0;
  // The file readied by Follow(…, tag) now plays: Duration and
  // CurrentPosition describe it from here on, and nothing follows it.
  virtual void FollowerStarted(FollowTag tag) = 0;
  // The file asked for by Follow(…, tag) will not follow: it is missing, is
  // not audio, has no known length, or was not ready when the stream ended.
  virtual void FollowerFailed(FollowTag tag) = 0;
  // The stream reached its end with nothing to follow: the position reads
  // exactly Duration(). Reported even while paused; the owner decides.
  virtual void StreamEnded() = 0;
  // The sound output went away while the graph played (Fault() says
  // DeviceLost from now on).
  virtual void OutputLost() = 0;
};

class MediaGraph {
 public:
  virtual ~MediaGraph() = default;
  // Builds the whole decoding and output chain for the file and readies it
  // (paused at 0). False when the file is missing, unreadable or not audio.
  virtual bool RenderFile(const std::string& path) = 0;
  // RenderFile's work, done off the window's thread: returns at once, and
  // the outcome arrives as GraphEvents::Opened. Until then the graph refuses
  // every other call. One file per graph, as with RenderFile.
  virtual void OpenFile(const std::string& path) = 0;
  virtual bool Run() = 0;
  // A paused graph stays paused across the joint: a followed file that takes
  // over while paused waits, paused, at its start.
  virtual bool Pause() = 0;
  // Stops playback; the position is kept (the engine rewinds explicitly).
  virtual bool Stop() = 0;
  // Seconds. After the end of the stream the position reads exactly Duration().
  virtual bool Duration(double& seconds) = 0;
  virtual bool CurrentPosition(double& seconds) = 0;
  virtual bool PutCurrentPosition(double seconds) = 0;
  // Hundredths of a decibel: 0 is full volume, -10000 silence.
  virtual bool PutVolume(long hundredthsDb) = 0;
  // Whether the sound output failed the graph (see OutputFault).
  virtual OutputFault Fault() { return OutputFault::None; }
  // The text of the file that plays: that of the rendered or opened file,
  // and from FollowerStarted on that of the followed one. Read with its
  // facts when the file was opened, never here.
  virtual TrackText PlayingText() const { return {}; }

  // Starts readying `path` to play straight after the current file, joined
  // at the exact end of its stream, and returns at once: the file is opened
  // and decoded off the window's thread. The outcome arrives as
  // FollowerStarted or FollowerFailed with `tag`. An empty path, or a new
  // Follow, drops what was asked before, unless that file already plays.
  virtual void Follow(const std::string& path, FollowTag tag) = 0;
};

class MediaFramework {
 public:
  virtual ~MediaFramework() = default;
  // A new, empty graph that reports to `events`; null when the framework
  // cannot make one. `events` outlives the graph.
  virtual std::unique_ptr<MediaGraph> CreateGraph(GraphEvents& events) = 0;
};

}  // namespace kestrafon::seam
