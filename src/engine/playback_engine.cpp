#include "engine/playback_engine.h"

#include <cstddef>
#include <utility>

namespace kestrafon {

class PlaybackEngine::Relay final : public seam::GraphEvents {
 public:
  Relay(PlaybackEngine& engine, bool opening) : engine_(engine), opening_(opening) {}
  // The opening graph has become the current one.
  void Promote() { opening_ = false; }

  // Each call is the last thing done here: the engine may drop this relay,
  // and its graph, while it is told.
  void Opened(bool ok) override {
    if (opening_) engine_.Opened(ok);
  }
  void FollowerStarted(seam::FollowTag tag) override {
    if (!opening_) engine_.FollowerStarted(tag);
  }
  // The tag stays asked for, so the file is not tried again, and the end of
  // the stream is met as any end is.
  void FollowerFailed(seam::FollowTag) override {}
  void StreamEnded() override {
    if (!opening_) engine_.StreamEnded();
  }
  void OutputLost() override {
    if (!opening_) engine_.OutputLost();
  }

 private:
  PlaybackEngine& engine_;
  bool opening_;
};

PlaybackEngine::PlaybackEngine(seam::MediaFramework& framework) : framework_(framework) {}

PlaybackEngine::~PlaybackEngine() {
  DropOpening();
  Close();
}

void PlaybackEngine::Open(const std::string& path) {
  DropOpening();
  pausedWhileOpening_ = false;
  // The old track plays on until the new one is ready, but nothing follows
  // it now: what comes next is the track being opened.
  Follow(0, {});
  auto relay = std::make_unique<Relay>(*this, true);
  std::unique_ptr<seam::MediaGraph> fresh = framework_.CreateGraph(*relay);
  if (!fresh) {
    if (listener_) listener_->TrackOpened(OpenResult::Failed);
    return;
  }
  openingRelay_ = std::move(relay);
  opening_ = std::move(fresh);
  openingPath_ = path;
  opening_->OpenFile(path);
}

void PlaybackEngine::Opened(bool ok) {
  if (!ok) {  // the old track plays on untouched
    const bool noSound = opening_->Fault() == seam::OutputFault::NoDevice;
    DropOpening();
    if (listener_) listener_->TrackOpened(noSound ? OpenResult::NoSoundOutput : OpenResult::Failed);
    return;
  }
  Close();
  graph_ = std::move(opening_);
  relay_ = std::move(openingRelay_);
  relay_->Promote();
  playingPath_ = std::move(openingPath_);
  playingText_ = graph_->PlayingText();
  ReadDuration();
  if (listener_) listener_->TrackOpened(OpenResult::Opened);
}

void PlaybackEngine::DropOpening() {
  opening_.reset();  // and with it every event it had still to tell
  openingRelay_.reset();
  openingPath_.clear();
}

void PlaybackEngine::ReadDuration() {
  double seconds = 0;
  durationKnown_ = graph_->Duration(seconds);
  if (durationKnown_) duration_ = seconds;
}

void PlaybackEngine::Close() {
  if (!graph_) return;
  graph_->Stop();
  graph_.reset();  // and with it every event it had still to tell
  relay_.reset();
  graphState_ = GraphState::None;
  following_ = 0;
  asked_.clear();
}

void PlaybackEngine::Control(GraphCommand command) {
  if (opening_) {
    // A track on its way waits paused after a Pause, and never starts after a Stop.
    if (command == GraphCommand::StopAndRewind) DropOpening();
    pausedWhileOpening_ = command == GraphCommand::Pause;
  }
  if (!graph_) return;
  switch (command) {
    case GraphCommand::Run: graph_->Run(); break;
    case GraphCommand::Pause: graph_->Pause(); break;
    case GraphCommand::StopAndRewind:
      Follow(0, {});  // a stopped track is followed by nothing
      graph_->Stop();
      graph_->PutCurrentPosition(0);
      break;
  }
  graphState_ = command == GraphCommand::Run     ? GraphState::Running
                : command == GraphCommand::Pause ? GraphState::Paused
                                                 : GraphState::Stopped;
}

bool PlaybackEngine::PutVolume(long hundredthsDb) { return graph_ ? graph_->PutVolume(hundredthsDb) : true; }

void PlaybackEngine::Follow(seam::FollowTag tag, const std::string& path) {
  if (!graph_ || tag == following_) return;
  // A stopped graph would never reach its end, and one being replaced is
  // followed by its replacement: only a playing or paused one is given a
  // follower.
  const bool live = graphState_ == GraphState::Running || graphState_ == GraphState::Paused;
  if (tag != 0 && (!live || opening_)) return;
  following_ = tag;
  if (tag != 0) {
    constexpr std::size_t kRemembered = 16;  // far more than can be on their way at once
    if (asked_.size() == kRemembered) asked_.erase(asked_.begin());
    asked_.emplace_back(tag, path);
  }
  graph_->Follow(tag != 0 ? path : std::string(), tag);
}

void PlaybackEngine::FollowerStarted(seam::FollowTag tag) {
  // The graph plays another file now, whatever was asked since.
  for (const auto& [asked, path] : asked_) {
    if (asked == tag) playingPath_ = path;
  }
  following_ = 0;
  asked_.clear();
  playingText_ = graph_->PlayingText();
  ReadDuration();
  // A stopped track is started again from its list entry by Play, never
  // from what the graph moved on to while the stop was on its way; and a
  // track being opened replaces whatever the old graph moved on to.
  if (graphState_ == GraphState::Stopped || opening_) return;
  if (listener_) listener_->TrackTookOver(tag);
}

void PlaybackEngine::StreamEnded() {
  // Pause and Stop win over an end that was on its way when they were
  // given: a paused track that ends is met when it runs again (by the tick).
  // A track being opened is what comes next anyway.
  if (graphState_ != GraphState::Running || opening_) return;
  if (listener_) listener_->TrackEnded();
}

void PlaybackEngine::OutputLost() {
  if (listener_) listener_->SoundOutputLost();
}

double PlaybackEngine::Position() const {
  double position = 0;
  if (!graph_ || !graph_->CurrentPosition(position)) return 0;
  return position;
}

}  // namespace kestrafon
