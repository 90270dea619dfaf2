#include "engine/playback_engine.h"

namespace kestrafon {

PlaybackEngine::OpenResult PlaybackEngine::Open(const std::string& path) {
  std::unique_ptr<platform::MediaGraph> fresh = framework_.CreateGraph();
  if (!fresh) return OpenResult::Failed;
  if (!fresh->RenderFile(path)) {  // the old track plays on untouched
    return fresh->Fault() == platform::OutputFault::NoDevice ? OpenResult::NoSoundOutput : OpenResult::Failed;
  }

  Close();
  graph_ = std::move(fresh);
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
  graph_.reset();
  graphState_ = GraphState::None;
  following_.clear();
}

void PlaybackEngine::Control(GraphCommand command) {
  if (!graph_) return;
  switch (command) {
    case GraphCommand::Run: graph_->Run(); break;
    case GraphCommand::Pause: graph_->Pause(); break;
    case GraphCommand::StopAndRewind:
      Follow({});  // a stopped track is followed by nothing
      graph_->Stop();
      graph_->PutCurrentPosition(0);
      break;
  }
  graphState_ = command == GraphCommand::Run     ? GraphState::Running
                : command == GraphCommand::Pause ? GraphState::Paused
                                                 : GraphState::Stopped;
}

bool PlaybackEngine::PutVolume(long hundredthsDb) { return graph_ ? graph_->PutVolume(hundredthsDb) : true; }

void PlaybackEngine::Follow(const std::string& path) {
  if (!graph_ || path == following_) return;
  // A stopped graph would never reach its end: only a playing or paused one
  // is given a follower.
  if (!path.empty() && graphState_ != GraphState::Running && graphState_ != GraphState::Paused) return;
  following_ = path;
  graph_->Follow(path);
}

bool PlaybackEngine::MovedOn() {
  if (!graph_ || following_.empty() || !graph_->MovedOn()) return false;
  following_.clear();
  ReadDuration();
  return true;
}

double PlaybackEngine::Position() const {
  double position = 0;
  if (!graph_ || !graph_->CurrentPosition(position)) return 0;
  return position;
}

}  // namespace kestrafon
