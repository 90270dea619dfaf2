// The playback tick and what the engine reports. The tick draws: it reads
// the position, scrolls the title, shows the clock and grows the time bar;
// it moves on at the end of a track only where the engine had nothing
// readied to follow. A track that took over, an end and a lost output are
// met as the engine reports them.
#include <string>

#include "control/clock_text.h"
#include "control/control_surface.h"
#include "model/paths.h"

namespace kestrafon {

namespace {

// The title runs left to -200, then comes back in from the right.
constexpr std::int32_t kTitleLeftmost = -200;
constexpr std::int32_t kTitleRestart = 145;
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
  // Until a track has ever opened there is no graph: nothing to read, and
  // nothing can end.
  const bool opened = engine_.graph() != nullptr;
  const double position = engine_.Position();
  const double duration = engine_.duration();
  // The texts of this tick describe the track that was playing, even when it
  // ends now and the next one opens.
  const std::string elapsed = ClockOf(position);
  const std::string total = ClockOf(duration);
  const std::int32_t second = static_cast<std::int32_t>(WholeSeconds(position));

  if (engine_.TrackEnded(position) && !EndOfTrack(TrackChange::TickAdvance)) return;

  if (titleOffset_ == kTitleLeftmost) titleOffset_ = kTitleRestart;
  --titleOffset_;
  face_.ClearTitle();
  face_.DrawTitle(titleOffset_, kTitleText.y, FileNameOf(TitlePath()));

  // While the next track opens, the old one is still the graph's: the clock
  // and the bar wait for the new one.
  if (!engine_.opening()) {
    face_.ClearClock();
    if (opened) {
      face_.DrawClock(kElapsedText.x, kElapsedText.y, elapsed);
      face_.DrawClock(kTotalText.x, kTotalText.y, total);
    }
    if (position > 0) bar_.AdvanceTo(second);
  }
  face_.Refresh();
}

std::int32_t ControlSurface::FollowingEntry() const {
  // A track that plays from outside the list is followed by the entry that
  // stands in its place.
  return WithinList(offListPath_.empty() ? tracks_.CurrentEntry() + 1 : tracks_.CurrentEntry());
}

std::int32_t ControlSurface::WithinList(std::int32_t entry) const {
  const std::int32_t count = tracks_.Count();
  if (entry <= count) return entry;
  return tracks_.Repeats() && count > 0 ? 1 : 0;
}

std::string ControlSurface::TitlePath() const {
  return offListPath_.empty() ? tracks_.PathAt(tracks_.CurrentEntry()) : offListPath_;
}

void ControlSurface::UpdateFollowingTrack() {
  const std::int32_t entry = tracks_.IsPlaying() ? FollowingEntry() : 0;
  engine_.Follow(tracks_.IdAt(entry), tracks_.PathAt(entry));
}

void ControlSurface::TrackTookOver(seam::FollowTag tag) {
  if (!tracks_.IsPlaying()) return;
  // The entry is found where it stands now, after any edit made since it
  // was readied.
  std::int32_t entry = tracks_.EntryWithId(tag);
  std::string offList;
  if (entry == 0) {
    // It was removed meanwhile, but it already sounds: it plays on under its
    // own name. What comes after it is the entry after the one it followed,
    // or, when that went too, the current entry the edits left.
    const std::int32_t followed = tracks_.EntryWithId(playingId_);
    entry = WithinList(followed > 0 ? followed + 1 : tracks_.CurrentEntry());
    if (entry == 0) entry = tracks_.Count() + 1;  // the list ends with it
    offList = engine_.playingPath();
  }
  playingId_ = offList.empty() ? tag : 0;
  offListPath_ = offList;
  ChangeTrack(entry, TrackChange::TookOver);
}

void ControlSurface::TrackEnded() {
  if (tracks_.IsPlaying()) EndOfTrack(TrackChange::Advance);
}

void ControlSurface::SoundOutputLost() {
  // The sound output went away under the track: stop, and say so once.
  if (tracks_.IsPlaying()) StopWithoutSound(tracks_.PathAt(tracks_.CurrentEntry()), true);
}

bool ControlSurface::EndOfTrack(TrackChange how) {
  const std::int32_t following = FollowingEntry();
  if (following > 0) return ChangeTrack(following, how);
  // The last track (or a number past a shortened list) has ended.
  engine_.Control(GraphCommand::StopAndRewind);
  bar_.Clear();
  tracks_.SetCurrentEntry(1);
  offListPath_.clear();
  timer_.Enabled(false);  // the interval stays as it was
  face_.DrawTransportRow();
  tracks_.SetPlaying(false);
  face_.ClearTitle();
  face_.ClearClock();
  tracks_.PaintRows();
  bar_.Reset();
  face_.Refresh();
  Notify();
  return false;
}

}  // namespace kestrafon
