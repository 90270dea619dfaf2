#pragma once
// The media seam: a framework that creates graphs. A graph plays one track,
// and may have the next one readied to follow it without a gap.
// Every call reports failure by its result and never throws.
#include <memory>
#include <string>

namespace kestrafon::platform {

// What keeps a graph from making sound that is not the file's fault.
enum class OutputFault {
  None,
  NoDevice,    // no sound output could be opened: RenderFile failed for it
  DeviceLost,  // the output went away while the graph played
};

class MediaGraph {
 public:
  virtual ~MediaGraph() = default;
  // Builds the whole decoding and output chain for the file and readies it
  // (paused at 0). False when the file is missing, unreadable or not audio.
  virtual bool RenderFile(const std::string& path) = 0;
  virtual bool Run() = 0;
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

  // Readies `path` to play straight after the current file, joined at the
  // exact end of its stream; an empty path drops what was readied. False
  // when the file cannot follow (missing, not audio, no known length): the
  // stream then ends as it would have without it.
  virtual bool Follow(const std::string& path) = 0;
  // True once, after the file readied by Follow has taken over: from then on
  // Duration and CurrentPosition describe it, and nothing follows it.
  virtual bool MovedOn() = 0;
};

class MediaFramework {
 public:
  virtual ~MediaFramework() = default;
  // A new, empty graph; null when the framework cannot make one.
  virtual std::unique_ptr<MediaGraph> CreateGraph() = 0;
};

}  // namespace kestrafon::platform
