// The transport commands, the Enter and Add commands and the knob, each in
// the order of steps the face has always used.
#include "control/control_surface.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "control/clock_text.h"
#include "model/paths.h"
#include "model/playlist_formats.h"

namespace kestrafon {

using namespace skin;

namespace {
constexpr const char* kBlankClock = "     ";
}  // namespace

long VolumeOfLevel(double level) {
  level = std::clamp(level, 0.0, 1.0);
  return std::lround(double(kQuietestVolume) + level * double(kLoudestVolume - kQuietestVolume));
}

// The face asks these on press and again on release, since a tick may have
// moved on meanwhile.
bool ControlSurface::CanPlay() const { return tracks_.Count() != 0 && !tracks_.IsPlaying(); }
bool ControlSurface::CanPause() const { return tracks_.IsPlaying(); }
bool ControlSurface::CanStop() const { return tracks_.IsPlaying(); }
bool ControlSurface::CanNext() const { return tracks_.IsPlaying() && tracks_.CurrentEntry() < tracks_.Count(); }
bool ControlSurface::CanPrevious() const { return tracks_.IsPlaying() && tracks_.CurrentEntry() > 1; }

PlaybackState ControlSurface::State() const {
  if (!tracks_.IsPlaying()) return PlaybackState::Stopped;
  switch (engine_.graphState()) {
    case PlaybackEngine::GraphState::Running: return PlaybackState::Playing;
    case PlaybackEngine::GraphState::Paused: return PlaybackState::Paused;
    case PlaybackEngine::GraphState::None:
    case PlaybackEngine::GraphState::Stopped: break;
  }
  // Playing by the face's look, but no track could be opened, or the next
  // one could not be and the last stays stopped at its start.
  return PlaybackState::Stopped;
}

void ControlSurface::Notify() {
  if (observer_) observer_->OnControlChanged();
}

bool ControlSurface::StartTrack(std::int32_t entry) {
  opening_ = {tracks_.IdAt(entry), tracks_.PathAt(entry)};
  // The rest comes with TrackOpened, at once or once the file is ready.
  startingTrack_ = true;
  engine_.Open(opening_.path);
  startingTrack_ = false;
  return tracks_.IsPlaying();
}

void ControlSurface::TrackOpened(OpenResult result) {
  switch (result) {
    case OpenResult::Opened: break;
    case OpenResult::Failed: return;  // the old track plays on untouched
    case OpenResult::NoSoundOutput:
      StopWithoutSound(opening_.path, false);
      return;
  }
  playingId_ = opening_.id;
  // A length the framework could not tell leaves the bar's scale as it was,
  // and the track starts without the knob's volume.
  if (engine_.durationKnown()) bar_.SetScale(WholeSeconds(engine_.duration()));
  timer_.Enabled(true);  // its interval is left alone
  if (engine_.durationKnown()) ApplyVolume(tracks_.VolumeLevel());
  // A Pause pressed while the file opened leaves it paused at its start.
  engine_.Control(engine_.pausedWhileOpening() ? GraphCommand::Pause : GraphCommand::Run);
  UpdateFollowingTrack();
  // Opened later than the command that asked for it: the face and the
  // desktop hear of it now.
  if (!startingTrack_) {
    face_.Refresh();
    Notify();
  }
}

void ControlSurface::StopWithoutSound(const std::string& path, bool outputLost) {
  // Never the playing look without sound: the face stops as after Stop.
  StopPlayback();
  Notify();
  messages_.ShowMessage(texts_.Say(UiText::CannotPlayTitle),
                        texts_.Say(outputLost ? UiText::OutputLostText : UiText::NoOutputText) + path);
}

void ControlSurface::ApplyVolume(double level) { engine_.PutVolume(VolumeOfLevel(level)); }

CommandResult ControlSurface::Play() {
  if (!CanPlay()) return CommandResult::Refused;
  face_.DrawSprite(kPlayPressed);  // what the face's press draws
  return PlayAfterPress();
}

CommandResult ControlSurface::PlayAfterPress() {
  if (!CanPlay()) return CommandResult::Refused;
  tracks_.SetPlaying(true);
  offListPath_.clear();
  face_.ClearTitle();
  face_.DrawTitle(kTitleText.x, kTitleText.y, FileNameOf(tracks_.PathAt(tracks_.CurrentEntry())));
  if (!StartTrack(tracks_.CurrentEntry())) return CommandResult::Done;
  // Whatever an earlier track left in the bar counters starts from zero.
  bar_.Reset();
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
  tracks_.SetPauseToggled(!tracks_.PauseToggled());
  return PauseAfterPress();
}

CommandResult ControlSurface::PauseAfterPress() {
  if (!CanPause()) return CommandResult::Refused;
  if (tracks_.PauseToggled()) {
    engine_.Control(GraphCommand::Pause);  // the button stays down while paused
  } else {
    face_.DrawSprite(kPauseReleased);
    engine_.Control(GraphCommand::Run);
  }
  face_.Refresh();
  Notify();
  return CommandResult::Done;
}

CommandResult ControlSurface::Stop() {
  if (!CanStop()) return CommandResult::Refused;
  StopPlayback();
  Notify();
  return CommandResult::Done;
}

void ControlSurface::StopPlayback() {
  engine_.Control(GraphCommand::StopAndRewind);
  tracks_.SetPlaying(false);
  offListPath_.clear();
  bar_.Clear();
  face_.DrawTransportRow();
  timer_.Interval(0);
  timer_.Enabled(false);
  face_.ClearClock();
  face_.ClearTitle();
  face_.DrawClock(kElapsedText.x, kElapsedText.y, kBlankClock);
  bar_.Reset();
  face_.Refresh();
}

CommandResult ControlSurface::Next() {
  if (!CanNext()) return CommandResult::Refused;
  ChangeTrack(tracks_.CurrentEntry() + 1, TrackChange::Next);
  return CommandResult::Done;
}

CommandResult ControlSurface::Previous() {
  if (!CanPrevious()) return CommandResult::Refused;
  ChangeTrack(tracks_.CurrentEntry() - 1, TrackChange::Previous);
  return CommandResult::Done;
}

CommandResult ControlSurface::PlayEntry(std::int32_t n) {
  // Enter never asks for less than entry 1; past the end (an empty list)
  // it opens nothing, as the empty path it passes opens nothing.
  if (n < 1) return CommandResult::Refused;
  ChangeTrack(n, TrackChange::Enter);
  return CommandResult::Done;
}

bool ControlSurface::ChangeTrack(std::int32_t entry, TrackChange how) {
  if (how == TrackChange::Enter && !tracks_.IsPlaying()) {
    // The player takes its playing look, as after its own Play button.
    tracks_.SetPlaying(true);
    face_.DrawSprite(kPlayPressed);
    timer_.Enabled(true);
    timer_.Interval(kTickIntervalMs);
  }
  if (how == TrackChange::Advance || how == TrackChange::TickAdvance) engine_.Control(GraphCommand::StopAndRewind);
  if (how == TrackChange::Next) face_.DrawSprite(kNextReleased);
  if (how == TrackChange::Previous) face_.DrawSprite(kPrevReleased);
  tracks_.SetCurrentEntry(entry);
  tracks_.PaintRows();
  bar_.Clear();

  if (how == TrackChange::TookOver) {
    // The graph already runs it: only the bar's scale is new.
    if (engine_.durationKnown()) bar_.SetScale(WholeSeconds(engine_.duration()));
    UpdateFollowingTrack();
  } else {
    offListPath_.clear();
    // When the file does not open, the old graph plays on (or, at the end of
    // a track, stays stopped at its start until the user acts).
    if (!StartTrack(entry)) return false;  // nothing can make sound
  }
  // The new track's bar grows from nothing, whichever way it is scaled.
  bar_.Reset();
  // The tick draws the rest itself; every other way shows the new track now.
  if (how != TrackChange::TickAdvance) {
    face_.ClearTitle();
    face_.DrawTitle(titleOffset_, kTitleText.y, FileNameOf(TitlePath()));
    face_.ClearClock();
    face_.DrawClock(kElapsedText.x, kElapsedText.y, kZeroClock);
  }
  face_.Refresh();
  Notify();
  return true;
}

std::int32_t ControlSurface::AddFiles(const std::vector<std::string>& paths) {
  const std::int32_t before = tracks_.Count();
  // Each playlist file is read at its place in the order, so it never
  // lands in the list as a track itself.
  std::size_t urls = 0;
  for (const std::string& path : paths) {
    if (path.empty()) continue;
    if (PlaylistKindOf(path) != PlaylistKind::None) {
      AppendListFile(tracks_, path, urls);
    } else {
      tracks_.Append(path);
    }
  }
  const std::int32_t added = tracks_.Count() - before;
  if (added > 0) {
    UpdateFollowingTrack();
    Notify();
  }
  // Said once for the whole Add, however many lists held URLs.
  if (urls > 0) {
    messages_.ShowMessage(texts_.Say(UiText::UrlsSkippedTitle), texts_.Say(UiText::UrlsSkippedText, {std::to_string(urls)}));
  }
  return added;
}

void ControlSurface::SetVolume(double level) {
  if (std::isnan(level)) return;
  level = std::clamp(level, 0.0, 1.0);
  face_.DrawSprite(kVolumeBar);
  face_.DrawVolumeKnob(level);
  tracks_.SetVolumeLevel(level);
  ApplyVolume(level);
  face_.Refresh();
  Notify();
}

}  // namespace kestrafon
