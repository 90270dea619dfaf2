#include "control/mpris_player.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "control/file_uri.h"
#include "control/media_keys.h"
#include "control/open_files.h"
#include "model/paths.h"

namespace kestrafon::mpris {

namespace {

const char* StatusName(PlaybackState state) {
  switch (state) {
    case PlaybackState::Playing: return "Playing";
    case PlaybackState::Paused: return "Paused";
    case PlaybackState::Stopped: break;
  }
  return "Stopped";
}

std::int64_t Microseconds(double seconds) {
  return seconds > 0 ? std::int64_t(std::llround(seconds * 1e6)) : 0;
}

}  // namespace

Snapshot TakeSnapshot(const PlayerControl& control) {
  Snapshot s;
  const PlaybackState state = control.State();
  s.playbackStatus = StatusName(state);
  const std::string path = control.CurrentPath();
  if (path.empty()) {
    s.metadata.trackId = std::string(kNoTrack);
  } else {
    s.metadata.trackId = "/org/kestrafon/track/" + std::to_string(control.CurrentEntry());
    s.metadata.lengthUs = Microseconds(control.DurationSeconds());
    s.metadata.url = path.front() == '/' ? FileUriFromPath(path) : path;
    seam::TrackText text = control.CurrentText();
    s.metadata.title = text.title.empty() ? std::string(FileNameOf(path)) : std::move(text.title);
    s.metadata.artist = std::move(text.artist);
    s.metadata.album = std::move(text.album);
  }
  s.volume = control.Volume();
  s.canGoNext = control.CanNext();
  s.canGoPrevious = control.CanPrevious();
  // Play also resumes a paused track (through the pause toggle), and asks
  // nothing of a track already playing.
  switch (state) {
    case PlaybackState::Stopped: s.canPlay = control.CanPlay(); break;
    case PlaybackState::Paused: s.canPlay = control.CanPause(); break;
    case PlaybackState::Playing: s.canPlay = true; break;
  }
  s.canPause = state == PlaybackState::Playing && control.CanPause();
  return s;
}

std::vector<Property> ChangedProperties(const Snapshot& before, const Snapshot& after) {
  std::vector<Property> changed;
  if (before.playbackStatus != after.playbackStatus) changed.push_back(Property::PlaybackStatus);
  if (before.metadata != after.metadata) changed.push_back(Property::Metadata);
  if (before.volume != after.volume) changed.push_back(Property::Volume);
  if (before.canGoNext != after.canGoNext) changed.push_back(Property::CanGoNext);
  if (before.canGoPrevious != after.canGoPrevious) changed.push_back(Property::CanGoPrevious);
  if (before.canPlay != after.canPlay) changed.push_back(Property::CanPlay);
  if (before.canPause != after.canPause) changed.push_back(Property::CanPause);
  return changed;
}

MprisPlayer::MprisPlayer(PlayerControl& control, WindowCommands& windows)
    : control_(control), windows_(windows), last_(TakeSnapshot(control)) {}

MprisPlayer::~MprisPlayer() {
  if (sink_) control_.SetObserver(nullptr);
}

void MprisPlayer::SetSink(PropertiesSink* sink) {
  sink_ = sink;
  last_ = TakeSnapshot(control_);
  control_.SetObserver(sink ? this : nullptr);
}

void MprisPlayer::Press(MediaKey key) {
  PressMediaKey(control_, key);
  OnControlChanged();
}

bool MprisPlayer::OpenUri(std::string_view uri) {
  const std::optional<std::string> path = LocalPathFromFileUri(uri);
  if (!path || path->empty() || path->back() == '/') return false;
  OpenFiles({*path});
  return true;
}

void MprisPlayer::OpenFiles(const std::vector<std::string>& paths) {
  AddFilesAndPlay(control_, windows_, paths);
  OnControlChanged();
}

void MprisPlayer::EnqueueFiles(const std::vector<std::string>& paths) {
  AddFilesAndRepaint(control_, windows_, paths);
  OnControlChanged();
}

void MprisPlayer::SetVolume(double volume) {
  control_.SetVolume(volume);
  OnControlChanged();
}

std::int64_t MprisPlayer::PositionUs() const { return Microseconds(control_.PositionSeconds()); }

void MprisPlayer::OnControlChanged() {
  Snapshot now = TakeSnapshot(control_);
  std::vector<Property> changed = ChangedProperties(last_, now);
  last_ = std::move(now);
  if (!changed.empty() && sink_) sink_->PropertiesChanged(last_, changed);
}

}  // namespace kestrafon::mpris
