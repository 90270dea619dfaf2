// The playback tick: the only thing that follows playback. It polls the
// position, scrolls the title, shows the clock, grows the time bar and moves
// on at the end of a track.
#include <string>

#include "control/control_surface.h"
#include "engine/clock_text.h"

namespace kestrafon {

namespace {

// The title runs left to -200, then comes back in from the right.
constexpr std::int32_t kTitleLeftmost = -200;
constexpr std::int32_t kTitleRestart = 145;
constexpr int kElapsedX = kPanelTextX, kTotalX = 50;
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
  platform::MediaGraph* graph = engine_.currentGraph();
  double position = 0;
  if (graph && !graph->CurrentPosition(position)) position = 0;
  const double duration = engine_.trackDuration();
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
  const std::string path = player_.GetMp3Name(player_.playListNumber());
  face_.ClsTitle();
  face_.TextOutTitle(titleOffset_, kPanelTextY, FileNameOf(path));

  face_.ClsTime();
  if (graph) {
    face_.TextOutTime(kElapsedX, kPanelTextY, elapsed);
    face_.TextOutTime(kTotalX, kPanelTextY, total);
  }

  if (position > 0) {
    if (bar_.BarSizeFlg) {
      bar_.SetTimeBarPosA(second, bar_.ans, bar_.remainder, false);
    } else {
      bar_.SetTimeBarPos(second, bar_.ans, bar_.remainder, false);
    }
  }
  face_.Refresh();
  if (ended) Notify();  // the next track has started
}

bool ControlSurface::EndOfTrack() {
  engine_.ControlGraph(GraphCommand::StopAndRewind);
  bar_.drawTimeBar();
  const std::int32_t count = player_.mscFileCount();
  const std::int32_t current = player_.playListNumber();
  if (current < count) {
    player_.playListNumber(current + 1);
  } else {
    // The last track (or a number past a shortened list) has ended.
    player_.playListNumber(1);
    if (!player_.CheckRepeat()) {
      timer_.Enabled(false);  // the interval stays as it was
      face_.DrawButtonPanel();
      player_.CheckPlay(false);
      face_.ClsTitle();
      face_.ClsTime();
      player_.SetPlayList();
      bar_.ResetTimeBarCounters();
      face_.Refresh();
      return false;
    }
  }
  player_.SetPlayList();
  // When the next file cannot be opened the old graph stays stopped at 0:
  // the tick keeps running and nothing advances until the user acts.
  engine_.PlayTrack(player_.GetMp3Name(player_.playListNumber()));
  bar_.ResetTimeBarCounters();
  return true;
}

}  // namespace kestrafon
