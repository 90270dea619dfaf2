// The transport commands, the Enter and Add commands and the knob, each in
// the order of steps the face has always used.
#include "control/control_surface.h"

#include <algorithm>
#include <optional>

#include "model/dialog_selection.h"
#include "model/playlist_file.h"

namespace kestrafon {

using namespace skin;

namespace {
constexpr const char* kBlankClock = "     ";
}  // namespace

// The face asks these on press and again on release, since a tick may have
// moved on meanwhile.
bool ControlSurface::CanPlay() const { return player_.mscFileCount() != 0 && !player_.CheckPlay(); }
bool ControlSurface::CanPause() const { return player_.CheckPlay(); }
bool ControlSurface::CanStop() const { return player_.CheckPlay(); }
bool ControlSurface::CanNext() const {
  return player_.CheckPlay() && player_.playListNumber() < player_.mscFileCount();
}
bool ControlSurface::CanPrevious() const { return player_.CheckPlay() && player_.playListNumber() > 1; }

PlaybackState ControlSurface::State() const {
  if (!player_.CheckPlay()) return PlaybackState::Stopped;
  switch (engine_.graphState()) {
    case modDirectx::GraphState::Running: return PlaybackState::Playing;
    case modDirectx::GraphState::Paused: return PlaybackState::Paused;
    case modDirectx::GraphState::None:
    case modDirectx::GraphState::Stopped: break;
  }
  // Playing by the face's look, but no track could be opened, or the next
  // one could not be and the last stays stopped at its start.
  return PlaybackState::Stopped;
}

double ControlSurface::DurationSeconds() const { return engine_.currentGraph() ? engine_.trackDuration() : 0; }

double ControlSurface::PositionSeconds() const {
  double position = 0;
  platform::MediaGraph* graph = engine_.currentGraph();
  if (!graph || !graph->CurrentPosition(position)) return 0;
  return position;
}

void ControlSurface::Notify() {
  if (observer_) observer_->OnControlChanged();
}

CommandResult ControlSurface::Play() {
  if (!CanPlay()) return CommandResult::Refused;
  face_.DrawSprite(kPlayPressed);  // what the face's press draws
  return PlayAfterPress();
}

CommandResult ControlSurface::PlayAfterPress() {
  if (!CanPlay() || player_.CheckStop()) return CommandResult::Refused;
  player_.CheckPlay(true);
  const std::string path = player_.GetMp3Name(player_.playListNumber());
  face_.ClsTitle();
  face_.TextOutTitle(kPanelTextX, kPanelTextY, FileNameOf(path));
  engine_.PlayTrack(path);
  // Whatever an earlier track left in the bar counters starts from zero.
  bar_.ResetTimeBarCounters();
  timer_.Enabled(true);
  timer_.Interval(kTickIntervalMs);
  // The play button stays down while playing.
  face_.Refresh();
  Notify();
  return CommandResult::Done;
}

CommandResult ControlSurface::Pause() {
  if (!CanPause()) return CommandResult::Refused;
  // The face's press: the pressed image, and the toggle flips.
  face_.DrawSprite(kPausePressed);
  player_.CheckTemporary(!player_.CheckTemporary());
  return PauseAfterPress();
}

CommandResult ControlSurface::PauseAfterPress() {
  if (!CanPause()) return CommandResult::Refused;
  if (player_.CheckTemporary()) {
    engine_.ControlGraph(GraphCommand::Pause);  // the button stays down while paused
  } else {
    face_.DrawSprite(kPauseReleased);
    engine_.ControlGraph(GraphCommand::Run);
  }
  face_.Refresh();
  Notify();
  return CommandResult::Done;
}

CommandResult ControlSurface::Stop() {
  if (!CanStop()) return CommandResult::Refused;
  engine_.ControlGraph(GraphCommand::StopAndRewind);
  player_.CheckPlay(false);
  player_.CheckStop(false);
  bar_.drawTimeBar();
  face_.DrawButtonPanel();
  timer_.Interval(0);
  timer_.Enabled(false);
  face_.ClsTime();
  face_.ClsTitle();
  face_.TextOutTime(kPanelTextX, kPanelTextY, kBlankClock);
  bar_.ResetTimeBarCounters();
  face_.Refresh();
  Notify();
  return CommandResult::Done;
}

CommandResult ControlSurface::Next() {
  if (!CanNext()) return CommandResult::Refused;
  player_.playListNumber(player_.playListNumber() + 1);
  player_.SetPlayList();
  face_.DrawSprite(kNextReleased);
  bar_.drawTimeBar();
  face_.ClsTime();
  face_.TextOutTime(kPanelTextX, kPanelTextY, kZeroClock);
  engine_.PlayTrack(player_.GetMp3Name(player_.playListNumber()));
  bar_.ResetTimeBarCounters();
  face_.Refresh();
  Notify();
  return CommandResult::Done;
}

CommandResult ControlSurface::Previous() {
  if (!CanPrevious()) return CommandResult::Refused;
  player_.playListNumber(player_.playListNumber() - 1);
  player_.SetPlayList();
  face_.DrawSprite(kPrevReleased);
  face_.ClsTime();
  face_.TextOutTime(kPanelTextX, kPanelTextY, kZeroClock);
  engine_.PlayTrack(player_.GetMp3Name(player_.playListNumber()));
  bar_.drawTimeBar();
  bar_.ResetTimeBarCounters();
  face_.Refresh();
  Notify();
  return CommandResult::Done;
}

CommandResult ControlSurface::PlayEntry(std::int32_t n) {
  // Enter never asks for less than entry 1; past the end (an empty list)
  // it opens nothing, as the empty path it passes opens nothing.
  if (n < 1) return CommandResult::Refused;
  if (!player_.CheckPlay()) {
    // The player takes its playing look, as after its own Play button.
    player_.CheckPlay(true);
    face_.DrawSprite(kPlayPressed);
    timer_.Enabled(true);
    timer_.Interval(kTickIntervalMs);
  }
  bar_.drawTimeBar();
  face_.ClsTime();
  face_.TextOutTime(kPanelTextX, kPanelTextY, kZeroClock);
  engine_.PlayTrack(player_.GetMp3Name(n));
  player_.playListNumber(n);
  player_.SetPlayList();
  // The new track's bar grows from nothing, whichever way it is scaled.
  bar_.ResetTimeBarCounters();
  face_.Refresh();
  Notify();
  return CommandResult::Done;
}

std::int32_t ControlSurface::AddSelection(std::string_view text) {
  const std::optional<OpenSelection> selection = ParseOpenSelection(text);
  if (!selection) return 0;  // cancelled
  const std::int32_t before = player_.mscFileCount();
  // Each playlist file is read at its place in the order, so it never
  // lands in the list as a track itself.
  for (const std::string& path : selection->paths) {
    if (IsPlaylistFileName(path)) {
      AppendPlaylistFile(player_, path);
    } else {
      player_.AryMp3File(path);
    }
  }
  const std::int32_t added = player_.mscFileCount() - before;
  if (added > 0) Notify();
  return added;
}

void ControlSurface::SetKnobVolume(std::int32_t x) {
  x = std::clamp(x, std::int32_t(kKnobMin), std::int32_t(kKnobMax));
  bar_.drawVolumeBar();
  face_.SetVolumeKnob(x);
  face_.Refresh();
  Notify();
}

}  // namespace kestrafon
