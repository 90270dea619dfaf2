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
  double seconds = 0;
  durationKnown_ = graph_->Duration(seconds);
  if (durationKnown_) duration_ = seconds;
  return OpenResult::Opened;
}

void PlaybackEngine::Close() {
  if (!graph_) return;
  graph_->Stop();
  graph_.reset();
  graphState_ = GraphState::None;
}

void PlaybackEngine::Control(GraphCommand command) {
  if (!graph_) return;
  switch (command) {
    case GraphCommand::Run: graph_->Run(); break;
    case GraphCommand::Pause: graph_->Pause(); break;
    case GraphCommand::StopAndRewind:
      graph_->Stop();
      graph_->PutCurrentPosition(0);
      break;
  }
  graphState_ = command == GraphCommand::Run     ? GraphState::Running
                : command == GraphCommand::Pause ? GraphState::Paused
                                                 : GraphState::Stopped;
}

bool PlaybackEngine::PutVolume(long hundredthsDb) { return graph_ ? graph_->PutVolume(hundredthsDb) : true; }

double PlaybackEngine::Position() const {
  double position = 0;
  if (!graph_ || !graph_->CurrentPosition(position)) return 0;
  return position;
}

}  // namespace kestrafon
