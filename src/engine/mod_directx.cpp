#include "engine/mod_directx.h"

namespace kestrafon {

bool modDirectx::PlayTrack(const std::string& path) {
  std::unique_ptr<platform::MediaGraph> graph;
  if (!BuildGraph(path, graph)) return false;  // the old track plays on untouched

  ReleaseGraph();

  // From here on failures are remembered, never reported: the track starts
  // anyway, only without the knob's volume.
  bool failed = false;
  graph_ = std::move(graph);
  double duration = 0;
  if (graph_->Duration(duration)) {
    trackDuration_ = duration;
  } else {
    failed = true;
  }
  hooks_.GetTimeBar();
  hooks_.EnableTimer();
  if (!failed) hooks_.ApplyKnobVolume();

  ControlGraph(GraphCommand::Run);
  return true;
}

bool modDirectx::BuildGraph(const std::string& path, std::unique_ptr<platform::MediaGraph>& graph) {
  auto fresh = framework_.CreateGraph();
  if (!fresh) return false;
  if (!fresh->RenderFile(path)) return false;
  graph = std::move(fresh);
  return true;
}

void modDirectx::ReleaseGraph() {
  if (!graph_) return;
  graph_->Stop();
  graph_.reset();
  graphState_ = GraphState::None;
}

void modDirectx::ControlGraph(GraphCommand command) {
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

}  // namespace kestrafon
