#pragma once
// One continuous stream of samples into one sound output: the current file,
// then each followed file straight after its last sample, with no gap. A
// thread of the stream's own decodes a little ahead into a ring of blocks and
// keeps the output's queue fed; the caller's thread only records commands
// and reads what the thread last saw, so it never waits for a file or the
// device.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/pcm_source.h"
#include "audio/sound_output.h"

namespace kestrafon::audio {

// What the stream's thread reports, from that thread.
struct StreamNews {
  enum class Kind {
    Started,  // the device began playing the source numbered `serial`
    Ended,    // the device played the last sample, and nothing follows
    Lost,     // the device went away: the stream plays no more
  };
  Kind kind;
  std::uint64_t serial = 0;
};

// How far the device is through one source.
struct SourceProgress {
  std::int64_t frames = 0;  // played of it, 0 … its Frames(), which it reaches when the stream ends
  bool movedOn = false;     // the device plays a later source already
};

class PcmStream {
 public:
  // Runs the whole life of the stream's thread: the system readies the
  // thread for its calls around it.
  using ThreadBody = std::function<void(const std::function<void()>& body)>;

  // `tell` runs on the stream's thread and must not call back into the stream.
  PcmStream(std::unique_ptr<SoundOutput> output, std::function<void(const StreamNews&)> tell,
            ThreadBody onThread = {});
  ~PcmStream();
  PcmStream(const PcmStream&) = delete;
  PcmStream& operator=(const PcmStream&) = delete;

  // Opens the output for `first` (source number 0), paused, and starts the
  // thread. False when no device takes the source's format. Each source
  // plays at its own `gain` (its loudness) times the stream's (the volume);
  // samples a gain above 1 would take past full scale are held there.
  bool Start(std::unique_ptr<PcmSource> first, double gain = 1.0);

  void Run();
  void Pause();
  // The device plays source `serial` from `frame` next: what is queued after
  // it starts again from its own beginning. The progress reads `frame` at once.
  void Seek(std::uint64_t serial, std::int64_t frame);
  // A linear factor applied to every sample from the next block written.
  void SetGain(double gain);

  // Queues `next` to play straight after the last source queued, and returns
  // its number. 0 when the stream has ended: nothing can follow any more.
  std::uint64_t Follow(std::unique_ptr<PcmSource> next, double gain = 1.0);
  // Drops the sources queued after `serial` that the device has not been
  // given yet, and returns the last one kept: `serial` itself, or a later
  // one that already went to the device (it plays).
  std::uint64_t DropAfter(std::uint64_t serial);

  SourceProgress Progress(std::uint64_t serial) const;

  // How much is decoded ahead of what the device was given.
  static constexpr std::int64_t kAheadMilliseconds = 500;
  // Silence around the sound: a device may swallow the first moments after
  // it opens (Wine's does, about 4 ms), and what it counts as played may still
  // be on its way to the speaker (80 to 300 ms under Wine) when the end is
  // told and the owner lets the device go.
  static constexpr std::int64_t kLeadMilliseconds = 20;
  static constexpr std::int64_t kTailMilliseconds = 300;

 private:
  struct Queued {
    std::uint64_t serial = 0;
    std::shared_ptr<PcmSource> source;
    PcmFormat format;
    std::int64_t frames = 0;
    double gain = 1.0;         // its own
    std::int64_t decoded = 0;  // frames taken from the source (or made up as silence)
    std::int64_t base = 0;     // the output's played count at this source's frame 0
    std::int64_t from = 0;     // the frame the device took it up at (a seek's), read until it plays on
    bool given = false;        // some of it went to the device
    bool seekPending = false;  // the source must move to `decoded` before the next read
  };
  struct Block {
    std::uint64_t serial = 0;
    std::int64_t firstFrame = 0;  // of its source
    std::vector<std::int16_t> samples;
    std::size_t frames = 0;
  };

  void Loop();
  // One turn of the thread: false when it should end.
  bool Turn();
  void ApplySeek(std::unique_lock<std::mutex>& lock);
  void Feed(std::unique_lock<std::mutex>& lock);
  // Decodes until the ring holds kAheadMilliseconds; reads without the lock.
  void DecodeAhead();
  // Starts the device anew for the next source's format once the old one has played out.
  void Reopen(std::unique_lock<std::mutex>& lock);
  void Observe(std::unique_lock<std::mutex>& lock, std::vector<StreamNews>& news);
  void WriteBlock(const Block& block, double gain);
  // Writes up to one block of silence; false when the device has gone.
  bool WriteSilence(std::int64_t frames);
  std::int64_t Frames(std::int64_t milliseconds) const;
  Queued* Find(std::uint64_t serial);
  std::int64_t RingFrames() const;

  std::unique_ptr<SoundOutput> output_;
  std::function<void(const StreamNews&)> tell_;
  ThreadBody onThread_;
  std::thread thread_;

  mutable std::mutex mutex_;
  std::deque<Queued> queue_;  // front: what the device plays (or last played)
  std::deque<Block> ring_;    // decoded, not yet given to the device
  std::uint64_t nextSerial_ = 0;
  PcmFormat deviceFormat_;
  std::int64_t written_ = 0;  // frames given to the device since it opened or was reset
  std::int64_t played_ = 0;   // the device's played count, as last read
  std::int64_t lead_ = 0;     // silence still to write before the sound, since the device opened
  std::int64_t tail_ = 0;     // silence written after the last sound
  bool quit_ = false;
  bool running_ = false;      // asked to run
  bool deviceRunning_ = false;
  bool ended_ = false;
  bool lost_ = false;
  double gain_ = 1.0;
  bool seekAsked_ = false;
  std::uint64_t seekSerial_ = 0;
  std::int64_t seekFrame_ = 0;
  std::vector<std::shared_ptr<PcmSource>> finished_;  // played out, let go by the thread
  std::vector<std::int16_t> scaled_;  // the thread's scratch for the gain and the silence
};

}  // namespace kestrafon::audio
