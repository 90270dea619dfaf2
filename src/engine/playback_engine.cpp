#include "engine/playback_engine.h"

#include <cstddef>
#include <utility>

namespace kestrafon {

PlaybackEngine::OpenResult PlaybackEngine::Open(const std::string& path) {
  std::unique_ptr<seam::MediaGraph> fresh = framework_.CreateGraph(*this);
  if (!fresh) return OpenResult::Failed;
  if (!fresh->RenderFile(path)) {  // the old track plays on untouched
    return fresh->Fault() == seam::OutputFault::NoDevice ? OpenResult::NoSoundOutput : OpenResult::Failed;
  }

  Close();
  graph_ = std::move(fresh);
  playingPath_ = path;
  ReadDuration();
  return OpenResult::Opened;
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
  graphState_ = GraphState::None;
  following_ = 0;
  asked_.clear();
}

void PlaybackEngine::Control(GraphCommand command) {
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
  // A stopped graph would never reach its end: only a playing or paused one
  // is given a follower.
  if (tag != 0 && graphState_ != GraphState::Running && graphState_ != GraphState::Paused) return;
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
  ReadDuration();
  // A stopped track is started again from its list entry by Play, never
  // from what the graph moved on to while the stop was on its way.
  if (graphState_ == GraphState::Stopped) return;
  if (listener_) listener_->TrackTookOver(tag);
}

void PlaybackEngine::FollowerFailed(seam::FollowTag) {
  // Nothing to do: the tag stays asked for, so the file is not tried again,
  // and the end of the stream is met as any end is.
}

void PlaybackEngine::StreamEnded() {
  // Pause and Stop win over an end that was on its way when they were
  // given: a paused track that ends is met when it runs again (by the tick).
  if (graphState_ != GraphState::Running) return;
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
