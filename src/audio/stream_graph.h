#pragma once
// A media graph that is one continuous stream: the current file and each
// followed one are decoded into the same sound output, so one joins the
// next at the exact sample. Files are opened on worker threads; what the
// stream and the workers report reaches the owner on the window's thread.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "audio/pcm_stream.h"
#include "audio/stream_system.h"
#include "seam/media.h"

namespace kestrafon::audio {

class StreamGraph final : public seam::MediaGraph {
 public:
  StreamGraph(std::shared_ptr<StreamSystem> system, seam::GraphEvents& events);
  ~StreamGraph() override;
  StreamGraph(const StreamGraph&) = delete;
  StreamGraph& operator=(const StreamGraph&) = delete;

  bool RenderFile(const std::string& path) override;
  void OpenFile(const std::string& path) override;
  bool Run() override;
  bool Pause() override;
  bool Stop() override;
  bool Duration(double& seconds) override;
  bool CurrentPosition(double& seconds) override;
  bool PutCurrentPosition(double seconds) override;
  bool PutVolume(long hundredthsDb) override;
  seam::OutputFault Fault() override { return fault_; }
  seam::TrackText PlayingText() const override { return current_.text; }
  void Follow(const std::string& path, seam::FollowTag tag) override;

  // Whether a followed file is queued in the stream behind the current one.
  bool FollowerQueued() const { return !queued_.empty(); }

 private:
  enum class State { Empty, Opening, Ready, Failed };
  // A file in the stream: the current one, or one queued to follow it.
  struct Track {
    std::uint64_t serial = 0;
    seam::FollowTag tag = 0;
    std::int64_t frames = 0;
    int rate = 1;
    seam::TrackText text;
  };
  struct Job;  // a file being opened by a worker

  std::unique_ptr<PcmStream> MakeStream();
  // Takes the opened stream as the graph's, or fails it (no sound output).
  bool Adopt(std::unique_ptr<PcmStream> stream, bool started, std::int64_t frames, int rate, seam::TrackText text);
  void StartFollowing(const std::shared_ptr<Job>& job);
  void FollowerOpened(const std::shared_ptr<Job>& job);
  void Hear(const StreamNews& news);
  // Posts `work` to run on the window's thread while the graph lives.
  template <class Work>
  void Later(Work work);
  // Tells the owner through `report`; false when that destroyed the graph.
  template <class Report>
  bool Tell(Report report);

  std::shared_ptr<StreamSystem> system_;
  seam::GraphEvents& events_;
  std::unique_ptr<PcmStream> stream_;
  State state_ = State::Empty;
  Track current_;
  std::deque<Track> queued_;          // in the stream behind the current one, in order
  std::shared_ptr<Job> following_;    // a followed file a worker is opening
  bool ended_ = false;
  seam::OutputFault fault_ = seam::OutputFault::None;
  // Expires with the graph: a report may lead the owner to destroy it.
  std::shared_ptr<char> alive_ = std::make_shared<char>();
};

class StreamFramework final : public seam::MediaFramework {
 public:
  explicit StreamFramework(std::shared_ptr<StreamSystem> system) : system_(std::move(system)) {}
  // Waits a while for files still being opened.
  ~StreamFramework() override { system_->WaitForWorkers(5000); }
  std::unique_ptr<seam::MediaGraph> CreateGraph(seam::GraphEvents& events) override {
    return std::make_unique<StreamGraph>(system_, events);
  }

 private:
  std::shared_ptr<StreamSystem> system_;
};

// Hundredths of a decibel as a factor on the samples: 0 is 1, -10000 silence.
double GainOfVolume(long hundredthsDb);

}  // namespace kestrafon::audio
