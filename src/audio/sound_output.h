#pragma once
// The sound device below the stream: a queue of blocks of samples, played in
// the order written, with no gap between them while the queue is fed. Used by
// the stream's thread alone; only Wait may be ended from elsewhere (Wake).
#include <cstddef>
#include <cstdint>

#include "audio/pcm_source.h"

namespace kestrafon::audio {

class SoundOutput {
 public:
  virtual ~SoundOutput() = default;
  // Opens the device for `format`, paused, with an empty queue and the
  // played count at 0. False when no device takes it.
  virtual bool Open(const PcmFormat& format) = 0;
  // Drops what is queued and lets the device go (also when never opened).
  virtual void Close() = 0;
  // How many more blocks Write takes now.
  virtual std::size_t FreeBlocks() = 0;
  // Queues `frames` frames (at most kBlockFrames); the output copies them.
  // False when the device has gone.
  virtual bool Write(const std::int16_t* samples, std::size_t frames) = 0;
  virtual bool Pause() = 0;
  virtual bool Resume() = 0;
  // Drops everything queued, stays paused or running as it was, and starts
  // the played count again from 0.
  virtual bool Reset() = 0;
  // Frames the device has played since Open or Reset, never more than were
  // written; -1 when the device has gone.
  virtual std::int64_t Played() = 0;
  // Sleeps until a block has played, Wake is called, or `ms` pass.
  virtual void Wait(int ms) = 0;
  virtual void Wake() = 0;

  // The largest block Write takes.
  static constexpr std::size_t kBlockFrames = 1024;
};

}  // namespace kestrafon::audio
