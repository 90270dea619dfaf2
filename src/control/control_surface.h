#pragma once
// The player's control surface: every command of the player, written once,
// in the order of steps the face has always used. It drives the engine, the
// track list and the time bar, starts each track itself, owns the playback
// timer, and draws on the face through the face's own procedures.
#include <cstdint>
#include <string>
#include <vector>

#include "control/playback_timer.h"
#include "control/player_control.h"
#include "control/player_face_view.h"
#include "engine/playback_engine.h"
#include "model/track_list.h"
#include "seam/desktop.h"
#include "skin/time_bar.h"

namespace kestrafon {

// The playback tick's interval while a track plays.
inline constexpr int kTickIntervalMs = 100;
// The clock panel right after a track change.
inline constexpr const char* kZeroClock = "00:00";

class ControlSurface : public PlayerControl {
 public:
  // `messages` tells the user when nothing can make sound.
  ControlSurface(PlaybackEngine& engine, TrackList& tracks, TimeBar& bar, PlayerFaceView& face,
                 platform::TickSource& ticks, platform::FileDialogs& messages)
      : engine_(engine), tracks_(tracks), bar_(bar), face_(face), timer_(ticks), messages_(messages) {}

  CommandResult Play() override;
  CommandResult Pause() override;
  CommandResult Stop() override;
  CommandResult Next() override;
  CommandResult Previous() override;
  CommandResult PlayEntry(std::int32_t n) override;
  void Tick() override;
  std::int32_t AddFiles(const std::vector<std::string>& paths) override;
  void SetKnobVolume(std::int32_t x) override;

  bool CanPlay() const override;
  bool CanPause() const override;
  bool CanStop() const override;
  bool CanNext() const override;
  bool CanPrevious() const override;

  PlaybackState State() const override;
  std::int32_t CurrentEntry() const override { return tracks_.CurrentEntry(); }
  std::int32_t EntryCount() const override { return tracks_.Count(); }
  std::string CurrentPath() const override { return tracks_.PathAt(tracks_.CurrentEntry()); }
  double DurationSeconds() const override { return engine_.graph() ? engine_.duration() : 0; }
  double PositionSeconds() const override { return engine_.Position(); }
  std::int32_t KnobVolume() const override { return tracks_.KnobX(); }

  void SetObserver(ControlObserver* observer) override { observer_ = observer; }

  // The face's half of Play and Pause. Its press has already drawn the
  // pressed button and, for Pause, flipped the pause toggle (true now means
  // pause); these run the rest of the command.
  CommandResult PlayAfterPress();
  CommandResult PauseAfterPress();
  // The playlist window changed the list (Remove, Clear).
  void ListChanged() {
    UpdateFollowingTrack();
    Notify();
  }
  // Tells the engine which track follows the current one, by the rule of
  // the advance at the end of a track; after the list or the repeat mode
  // changed. A track that took over meanwhile is shown first.
  void UpdateFollowingTrack();

  Timer& timer() { return timer_; }
  const Timer& timer() const { return timer_; }
  // Where the scrolling title starts this tick.
  std::int32_t titleOffset() const { return titleOffset_; }

 private:
  // Opens the track and starts it: the time bar's scale, the tick, the
  // knob's volume, then run. Where the file does not open the old track is
  // as it was; where nothing can make sound, playback stops and the user is
  // told (false).
  bool StartTrack(const std::string& path);
  // The face's stopped look, the graph stopped at its start, no tick.
  void StopPlayback();
  // Stops as Stop does and says once why no sound can come.
  void StopWithoutSound(const std::string& path, bool outputLost);
  void ApplyKnobVolume(std::int32_t x);
  // The end of the current track; false when playback stopped at the end of the list.
  bool EndOfTrack();
  // The entry that plays after the current one ends: the next, the first
  // again with repeat on, none (0) at the end of the list.
  std::int32_t FollowingEntry() const;
  // The engine moved on to the following track by itself: the face shows it
  // as it shows a track started at the end of the last.
  void ShowFollowingTrack();
  void Notify();

  PlaybackEngine& engine_;
  TrackList& tracks_;
  TimeBar& bar_;
  PlayerFaceView& face_;
  Timer timer_;
  platform::FileDialogs& messages_;
  ControlObserver* observer_ = nullptr;
  std::int32_t titleOffset_ = 0;
  std::int32_t followingEntry_ = 0;  // what the engine was told follows; 0 for none
};

}  // namespace kestrafon
