// The playback tick: the only thing that follows playback. It polls the
// position, scrolls the title, shows the clock, grows the time bar and moves
// on at the end of a track.
#include <string>

#include "app/app_context.h"
#include "engine/clock_text.h"

namespace kestrafon {

namespace {

// The title runs left to -200, then comes back in from the right.
constexpr std::int32_t kTitleLeftmost = -200;
constexpr std::int32_t kTitleRestart = 145;
constexpr int kTextY = 10;
constexpr int kElapsedX = 10, kTotalX = 50;
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

void frmPlayer::Timer_Timer() {
  if (unloaded_) return;
  clsPlayer& player = ctx_.gPlayer;

  // Until a track has ever opened there is no graph: nothing to poll, and
  // nothing can end.
  platform::MediaGraph* graph = ctx_.engine.mediaPosition();
  double position = 0;
  if (graph && !graph->CurrentPosition(position)) position = 0;
  const double duration = ctx_.engine.trackDuration();
  // The texts of this tick describe the track that was playing, even when it
  // ends now and the next one opens.
  const std::string elapsed = ClockOf(position);
  const std::string total = ClockOf(duration);
  const std::int32_t second = static_cast<std::int32_t>(WholeSeconds(position));

  // The graph reads exactly its duration once it has played to the end. A
  // duration of 0 (unknown) never ends a track, or it would end at once.
  if (graph && duration > 0 && position == duration) {
    if (!EndOfTrack()) return;
  }

  if (titleOffset_ == kTitleLeftmost) titleOffset_ = kTitleRestart;
  --titleOffset_;
  const std::string path = player.GetMp3Name(player.playListNumber());
  ClsTitle();
  TextOutTitle(titleOffset_, kTextY, FileNameOf(path));

  ClsTime();
  if (graph) {
    TextOutTime(kElapsedX, kTextY, elapsed);
    TextOutTime(kTotalX, kTextY, total);
  }

  if (position > 0) {
    clsWindow& bar = ctx_.gWindow;
    if (bar.BarSizeFlg) {
      bar.SetTimeBarPosA(second, bar.ans, bar.remainder, false);
    } else {
      bar.SetTimeBarPos(second, bar.ans, bar.remainder, false);
    }
  }
  Refresh();
}

bool frmPlayer::EndOfTrack() {
  clsPlayer& player = ctx_.gPlayer;
  ctx_.engine.ControlGraph(3);
  ctx_.gWindow.drawTimeBar();
  const std::int32_t count = player.mscFileCount();
  const std::int32_t current = player.playListNumber();
  if (current < count) {
    player.playListNumber(current + 1);
  } else {
    // The last track (or a number past a shortened list) has ended.
    player.playListNumber(1);
    if (!player.CheckRepeat()) {
      ctx_.timer.Enabled(false);  // the interval stays as it was
      DrawButtonPanel();
      player.CheckPlay(false);
      ClsTitle();
      ClsTime();
      player.SetPlayList();
      ResetTimeBarFill();
      Refresh();
      return false;
    }
  }
  player.SetPlayList();
  // When the next file cannot be opened the old graph stays stopped at 0:
  // the tick keeps running and nothing advances until the user acts.
  ctx_.engine.PlayTrack(player.GetMp3Name(player.playListNumber()));
  ResetTimeBarFill();
  return true;
}

}  // namespace kestrafon
