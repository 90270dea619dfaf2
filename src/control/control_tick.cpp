// The playback tick: the only thing that follows playback. It polls the
// position, scrolls the title, shows the clock, grows the time bar and moves
// on at the end of a track.
#include <string>

#include "control/clock_text.h"
#include "control/control_surface.h"
#include "model/paths.h"

namespace kestrafon {

namespace {

// The title runs left to -200, then comes back in from the right.
constexpr std::int32_t kTitleLeftmost = -200;
constexpr std::int32_t kTitleRestart = 145;
constexpr const skin::PanelTextSpot& kTitleText = skin::PanelTextOf(skin::PanelText::Title);
constexpr const skin::PanelTextSpot& kElapsedText = skin::PanelTextOf(skin::PanelText::Elapsed);
constexpr const skin::PanelTextSpot& kTotalText = skin::PanelTextOf(skin::PanelText::Total);
constexpr std::size_t kClockChars = 5;  // 100 minutes and more lose their last digit

// Minutes and seconds of a time; both empty for no time at all.
std::string ClockOf(double seconds) {
  std::string minutes, secs;
  if (seconds > 0) {
    const std::string whole = WholeSecondsText(seconds);
    minutes = MinuteText(whole);
    secs = SecondText(whole, minutes);
  }
  return (minutes + ":" + secs).substr(0, kClockChars);
}

}  // namespace

void ControlSurface::Tick() {
  // Until a track has ever opened there is no graph: nothing to poll, and
  // nothing can end.
  // The sound output went away under the track: stop, and say so once.
  if (engine_.OutputLost() && tracks_.IsPlaying()) {
    StopWithoutSound(tracks_.PathAt(tracks_.CurrentEntry()), true);
    return;
  }
  // The next track may have taken over at the end of this one, and the list
  // may have changed under the track that follows.
  UpdateFollowingTrack();
  const bool opened = engine_.graph() != nullptr;
  const double position = engine_.Position();
  const double duration = engine_.duration();
  // The texts of this tick describe the track that was playing, even when it
  // ends now and the next one opens.
  const std::string elapsed = ClockOf(position);
  const std::string total = ClockOf(duration);
  const std::int32_t second = static_cast<std::int32_t>(WholeSeconds(position));

  const bool ended = engine_.TrackEnded(position);
  if (ended && !EndOfTrack()) {
    Notify();  // playback stopped at the end of the list
    return;
  }

  if (titleOffset_ == kTitleLeftmost) titleOffset_ = kTitleRestart;
  --titleOffset_;
  const std::string path = tracks_.PathAt(tracks_.CurrentEntry());
  face_.ClearTitle();
  face_.DrawTitle(titleOffset_, kTitleText.y, FileNameOf(path));

  face_.ClearClock();
  if (opened) {
    face_.DrawClock(kElapsedText.x, kElapsedText.y, elapsed);
    face_.DrawClock(kTotalText.x, kTotalText.y, total);
  }

  if (position > 0) bar_.AdvanceTo(second);
  face_.Refresh();
  if (ended) Notify();  // the next track has started
}

std::int32_t ControlSurface::FollowingEntry() const {
  const std::int32_t count = tracks_.Count();
  if (tracks_.CurrentEntry() < count) return tracks_.CurrentEntry() + 1;
  return tracks_.Repeats() && count > 0 ? 1 : 0;
}

void ControlSurface::UpdateFollowingTrack() {
  if (engine_.MovedOn()) ShowFollowingTrack();
  followingEntry_ = tracks_.IsPlaying() ? FollowingEntry() : 0;
  engine_.Follow(followingEntry_ > 0 ? tracks_.PathAt(followingEntry_) : std::string());
}

void ControlSurface::ShowFollowingTrack() {
  // The steps of the advance below, less the graph's: it already runs.
  bar_.Clear();
  tracks_.SetCurrentEntry(followingEntry_);
  tracks_.PaintRows();
  if (engine_.durationKnown()) bar_.SetScale(WholeSeconds(engine_.duration()));
  bar_.Reset();
  Notify();
}

bool ControlSurface::EndOfTrack() {
  engine_.Control(GraphCommand::StopAndRewind);
  bar_.Clear();
  const std::int32_t count = tracks_.Count();
  const std::int32_t current = tracks_.CurrentEntry();
  if (current < count) {
    tracks_.SetCurrentEntry(current + 1);
  } else {
    // The last track (or a number past a shortened list) has ended.
    tracks_.SetCurrentEntry(1);
    if (!tracks_.Repeats()) {
      timer_.Enabled(false);  // the interval stays as it was
      face_.DrawTransportRow();
      tracks_.SetPlaying(false);
      face_.ClearTitle();
      face_.ClearClock();
      tracks_.PaintRows();
      bar_.Reset();
      face_.Refresh();
      return false;
    }
  }
  tracks_.PaintRows();
  // When the next file cannot be opened the old graph stays stopped at 0:
  // the tick keeps running and nothing advances until the user acts.
  if (!StartTrack(tracks_.PathAt(tracks_.CurrentEntry()))) return false;
  bar_.Reset();
  return true;
}

}  // namespace kestrafon
