#pragma once
// What a stream graph needs from the system it runs on: a way to open a file
// as samples, a sound output, and a way back to the window's thread. One per
// framework, shared by its graphs and by the threads that open files.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "audio/pcm_source.h"
#include "audio/sound_output.h"
#include "seam/media.h"

namespace kestrafon::audio {

class StreamSystem : public std::enable_shared_from_this<StreamSystem> {
 public:
  virtual ~StreamSystem() = default;
  // The file as decoded samples; null when it will not play. May take long
  // (a slow disk): called off the window's thread.
  virtual std::unique_ptr<PcmSource> OpenSource(const std::string& path) = 0;
  // The file's loudness and text, from one read of its tags (gain 1 and no
  // text when nothing applies). May read the file: called off the window's
  // thread, after OpenSource.
  virtual seam::TrackFacts TrackFactsOf(const std::string& path) {
    (void)path;
    return {};
  }
  // A new sound output, not yet opened.
  virtual std::unique_ptr<SoundOutput> MakeOutput() = 0;
  // Runs `work` later on the window's thread, from its event loop. Safe from
  // any thread; work that cannot be delivered any more is dropped.
  virtual void Post(std::function<void()> work) = 0;
  // Runs `body` as the whole life of a thread that opens or reads files:
  // the place to ready the thread for the system's calls.
  virtual void OnThread(const std::function<void()>& body) { body(); }

  // Runs `work` on a thread of its own, counted until it ends.
  void StartWorker(std::function<void()> work);
  // Waits at most `ms` milliseconds for the workers to end (at exit: a file
  // on a slow disk may still be opening). False when some still run.
  bool WaitForWorkers(int ms);

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  int workers_ = 0;
};

}  // namespace kestrafon::audio
