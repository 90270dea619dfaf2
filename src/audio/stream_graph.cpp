#include "audio/stream_graph.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kestrafon::audio {

// A file a worker opens: for OpenFile (tag 0, the stream made there too, so
// the device is opened off the window's thread as well) or for Follow.
struct StreamGraph::Job {
  std::string path;
  seam::FollowTag tag = 0;
  std::unique_ptr<PcmSource> source;
  seam::TrackFacts facts;             // its own loudness, and its text
  std::unique_ptr<PcmStream> stream;  // OpenFile's, started
  bool started = false;
  std::int64_t frames = 0;
  int rate = 1;
};

namespace {

// What the stream can play: a file of known, non-zero length.
std::unique_ptr<PcmSource> Playable(std::unique_ptr<PcmSource> source) {
  if (!source || source->Frames() <= 0 || source->Format().sampleRate <= 0 || source->Format().channels <= 0)
    return nullptr;
  return source;
}

}  // namespace

double GainOfVolume(long hundredthsDb) {
  if (hundredthsDb <= -10000) return 0.0;
  return std::pow(10.0, std::min(hundredthsDb, 0L) / 2000.0);
}

StreamGraph::StreamGraph(std::shared_ptr<StreamSystem> system, seam::GraphEvents& events)
    : system_(std::move(system)), events_(events) {}

StreamGraph::~StreamGraph() {
  alive_.reset();
  stream_.reset();
}

template <class Work>
void StreamGraph::Later(Work work) {
  system_->Post([alive = std::weak_ptr<char>(alive_), work = std::move(work)]() mutable {
    if (alive.lock()) work();
  });
}

template <class Report>
bool StreamGraph::Tell(Report report) {
  const std::weak_ptr<char> alive = alive_;
  report();
  return !alive.expired();
}

std::unique_ptr<PcmStream> StreamGraph::MakeStream() {
  auto tell = [system = system_, alive = std::weak_ptr<char>(alive_), this](const StreamNews& news) {
    system->Post([alive, this, news] {
      if (alive.lock()) Hear(news);
    });
  };
  return std::make_unique<PcmStream>(system_->MakeOutput(), tell,
                                     [system = system_](const std::function<void()>& body) { system->OnThread(body); });
}

bool StreamGraph::Adopt(std::unique_ptr<PcmStream> stream, bool started, std::int64_t frames, int rate,
                        seam::TrackText text) {
  if (!started) {
    state_ = State::Failed;
    fault_ = stream ? seam::OutputFault::NoDevice : seam::OutputFault::None;
    return false;
  }
  stream_ = std::move(stream);
  current_ = Track{0, 0, frames, rate, std::move(text)};
  state_ = State::Ready;
  return true;
}

bool StreamGraph::RenderFile(const std::string& path) {
  if (state_ != State::Empty) return false;
  auto source = Playable(system_->OpenSource(path));
  if (!source) return Adopt(nullptr, false, 0, 1, {});
  const std::int64_t frames = source->Frames();
  const int rate = source->Format().sampleRate;
  seam::TrackFacts facts = system_->TrackFactsOf(path);
  auto stream = MakeStream();
  const bool started = stream->Start(std::move(source), facts.gain);
  return Adopt(std::move(stream), started, frames, rate, std::move(facts.text));
}

void StreamGraph::OpenFile(const std::string& path) {
  if (state_ != State::Empty) {
    Later([this] { events_.Opened(false); });
    return;
  }
  state_ = State::Opening;
  auto job = std::make_shared<Job>();
  job->path = path;
  job->stream = MakeStream();  // made here: it reports to this graph
  system_->StartWorker([system = system_, job, alive = std::weak_ptr<char>(alive_), this] {
    if (auto source = Playable(system->OpenSource(job->path))) {
      job->frames = source->Frames();
      job->rate = source->Format().sampleRate;
      job->facts = system->TrackFactsOf(job->path);
      job->started = job->stream->Start(std::move(source), job->facts.gain);
    } else {
      job->stream.reset();
    }
    system->Post([job, alive, this] {
      if (!alive.lock()) return;
      const bool ok = Adopt(std::move(job->stream), job->started, job->frames, job->rate, std::move(job->facts.text));
      events_.Opened(ok);
    });
  });
}

bool StreamGraph::Run() {
  if (state_ != State::Ready) return false;
  stream_->Run();
  return true;
}

bool StreamGraph::Pause() {
  if (state_ != State::Ready) return false;
  stream_->Pause();
  return true;
}

bool StreamGraph::Stop() { return Pause(); }

bool StreamGraph::Duration(double& seconds) {
  if (state_ != State::Ready) return false;
  seconds = static_cast<double>(current_.frames) / current_.rate;
  return true;
}

bool StreamGraph::CurrentPosition(double& seconds) {
  if (state_ != State::Ready) return false;
  const SourceProgress progress = stream_->Progress(current_.serial);
  std::int64_t frames = std::min(progress.frames, current_.frames);
  // Until the take-over is told, the file that follows is not described;
  // the one before never reads its end, since its end is where the next starts.
  if (progress.movedOn) frames = std::min(frames, current_.frames - 1);
  seconds = static_cast<double>(frames) / current_.rate;
  return true;
}

bool StreamGraph::PutCurrentPosition(double seconds) {
  if (state_ != State::Ready) return false;
  const auto frame = std::clamp<std::int64_t>(std::llround(seconds * current_.rate), 0, current_.frames);
  stream_->Seek(current_.serial, frame);
  ended_ = false;
  return true;
}

bool StreamGraph::PutVolume(long hundredthsDb) {
  if (state_ != State::Ready) return false;
  stream_->SetGain(GainOfVolume(hundredthsDb));
  return true;
}

void StreamGraph::Follow(const std::string& path, seam::FollowTag tag) {
  if (state_ != State::Ready) return;
  following_.reset();  // a worker's answer for it is no longer wanted
  if (!queued_.empty()) {
    const std::uint64_t kept = stream_->DropAfter(current_.serial);
    std::erase_if(queued_, [&](const Track& t) { return t.serial > kept; });
  }
  if (path.empty()) return;
  if (ended_) {  // nothing can follow a stream that ended
    Later([this, tag] { events_.FollowerFailed(tag); });
    return;
  }
  auto job = std::make_shared<Job>();
  job->path = path;
  job->tag = tag;
  following_ = job;
  StartFollowing(job);
}

void StreamGraph::StartFollowing(const std::shared_ptr<Job>& job) {
  system_->StartWorker([system = system_, job, alive = std::weak_ptr<char>(alive_), this] {
    job->source = Playable(system->OpenSource(job->path));
    if (job->source) job->facts = system->TrackFactsOf(job->path);
    system->Post([job, alive, this] {
      if (alive.lock()) FollowerOpened(job);
    });
  });
}

void StreamGraph::FollowerOpened(const std::shared_ptr<Job>& job) {
  if (job != following_) return;  // dropped or replaced meanwhile
  following_.reset();
  if (job->source) {
    const Track track{0, job->tag, job->source->Frames(), job->source->Format().sampleRate, job->facts.text};
    if (const std::uint64_t serial = stream_->Follow(std::move(job->source), job->facts.gain)) {
      queued_.push_back(track);
      queued_.back().serial = serial;
      return;
    }
  }
  events_.FollowerFailed(job->tag);
}

void StreamGraph::Hear(const StreamNews& news) {
  if (!stream_) return;
  switch (news.kind) {
    case StreamNews::Kind::Started: {
      while (!queued_.empty() && queued_.front().serial != news.serial) queued_.pop_front();
      if (queued_.empty()) return;
      current_ = queued_.front();
      queued_.pop_front();
      const seam::FollowTag tag = current_.tag;
      events_.FollowerStarted(tag);
      return;
    }
    case StreamNews::Kind::Ended: {
      if (ended_) return;
      ended_ = true;
      if (following_) {  // not ready in time: the owner starts it itself
        const seam::FollowTag tag = following_->tag;
        following_.reset();
        if (!Tell([&] { events_.FollowerFailed(tag); })) return;
      }
      events_.StreamEnded();
      return;
    }
    case StreamNews::Kind::Lost:
      if (fault_ == seam::OutputFault::DeviceLost) return;
      fault_ = seam::OutputFault::DeviceLost;
      events_.OutputLost();
      return;
  }
}

}  // namespace kestrafon::audio
