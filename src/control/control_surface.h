#pragma once
// The player's control surface: every command of the player, written once,
// in the order of steps the face has always used. It drives the engine, the
// player state and the skin's bars, owns the playback timer, and draws on
// the face through the face's own procedures.
#include <cstdint>
#include <string>
#include <string_view>

#include "control/playback_timer.h"
#include "control/player_control.h"
#include "control/player_face_view.h"
#include "engine/mod_directx.h"
#include "model/cls_player.h"
#include "platform/desktop.h"
#include "skin/cls_window.h"

namespace kestrafon {

// The playback tick's interval while a track plays.
inline constexpr int kTickIntervalMs = 100;
// The clock panel right after a track change.
inline constexpr const char* kZeroClock = "00:00";
// Where the title and clock texts start in their panels.
inline constexpr int kPanelTextX = 10, kPanelTextY = 10;

class ControlSurface : public PlayerControl {
 public:
  ControlSurface(modDirectx& engine, clsPlayer& player, clsWindow& bar, PlayerFaceView& face,
                 platform::TickSource& ticks)
      : engine_(engine), player_(player), bar_(bar), face_(face), timer_(ticks) {}

  CommandResult Play() override;
  CommandResult Pause() override;
  CommandResult Stop() override;
  CommandResult Next() override;
  CommandResult Previous() override;
  CommandResult PlayEntry(std::int32_t n) override;
  void Tick() override;
  std::int32_t AddSelection(std::string_view selection) override;
  void SetKnobVolume(std::int32_t x) override;

  bool CanPlay() const override;
  bool CanPause() const override;
  bool CanStop() const override;
  bool CanNext() const override;
  bool CanPrevious() const override;

  PlaybackState State() const override;
  std::int32_t CurrentEntry() const override { return player_.playListNumber(); }
  std::int32_t EntryCount() const override { return player_.mscFileCount(); }
  std::string CurrentPath() const override { return player_.GetMp3Name(player_.playListNumber()); }
  double DurationSeconds() const override;
  double PositionSeconds() const override;
  std::int32_t KnobVolume() const override { return player_.VolumePos(); }

  void SetObserver(ControlObserver* observer) override { observer_ = observer; }

  // The face's half of Play and Pause. Its press has already drawn the
  // pressed button and, for Pause, flipped CheckTemporary (true now means
  // pause); these run the rest of the command.
  CommandResult PlayAfterPress();
  CommandResult PauseAfterPress();
  // The playlist window changed the list (Remove, Clear).
  void ListChanged() { Notify(); }

  Timer& timer() { return timer_; }
  const Timer& timer() const { return timer_; }
  // Where the scrolling title starts this tick.
  std::int32_t titleOffset() const { return titleOffset_; }

 private:
  void RunPlay();
  void RunPause();
  // The end of the current track; false when playback stopped at the end of the list.
  bool EndOfTrack();
  void Notify();

  modDirectx& engine_;
  clsPlayer& player_;
  clsWindow& bar_;
  PlayerFaceView& face_;
  Timer timer_;
  ControlObserver* observer_ = nullptr;
  std::int32_t titleOffset_ = 0;
};

}  // namespace kestrafon
