#pragma once
// The player's control surface: every command of the player, written once,
// in the order of steps the face has always used. It drives the engine, the
// track list and the time bar, starts each track itself, owns the playback
// timer, draws on the face through the face's own procedures, and meets
// what the engine reports (a track that took over, an end, a lost output)
// as it happens.
#include <cstdint>
#include <string>
#include <vector>

#include "control/playback_timer.h"
#include "control/player_control.h"
#include "control/player_face_view.h"
#include "engine/playback_engine.h"
#include "model/track_list.h"
#include "model/ui_texts.h"
#include "seam/desktop.h"
#include "skin/layout.h"
#include "skin/time_bar.h"

namespace kestrafon {

// The playback tick's interval while a track plays.
inline constexpr int kTickIntervalMs = 100;
// The clock panel right after a track change.
inline constexpr const char* kZeroClock = "00:00";

// The quietest and loudest volume, in hundredths of a decibel, at the
// levels 0 and 1: a level between them is spread evenly in decibels.
inline constexpr long kQuietestVolume = -6400;
inline constexpr long kLoudestVolume = -320;
// The volume of a level, in hundredths of a decibel.
long VolumeOfLevel(double level);

class ControlSurface : public PlayerControl, private EngineListener {
 public:
  // `messages` tells the user, in the words of `texts`, when nothing can make
  // sound.
  ControlSurface(PlaybackEngine& engine, TrackList& tracks, TimeBar& bar, PlayerFaceView& face,
                 seam::TickSource& ticks, seam::FileDialogs& messages, const TextBook& texts)
      : engine_(engine), tracks_(tracks), bar_(bar), face_(face), timer_(ticks), messages_(messages),
        texts_(texts) {
    engine_.SetListener(this);
  }
  ~ControlSurface() override { engine_.SetListener(nullptr); }
  ControlSurface(const ControlSurface&) = delete;
  ControlSurface& operator=(const ControlSurface&) = delete;

  CommandResult Play() override;
  CommandResult Pause() override;
  CommandResult Stop() override;
  CommandResult Next() override;
  CommandResult Previous() override;
  CommandResult PlayEntry(std::int32_t n) override;
  void Tick() override;
  std::int32_t AddFiles(const std::vector<std::string>& paths) override;
  void SetVolume(double level) override;

  bool CanPlay() const override;
  bool CanPause() const override;
  bool CanStop() const override;
  bool CanNext() const override;
  bool CanPrevious() const override;

  PlaybackState State() const override;
  std::int32_t CurrentEntry() const override { return tracks_.CurrentEntry(); }
  std::int32_t EntryCount() const override { return tracks_.Count(); }
  std::string CurrentPath() const override { return tracks_.PathAt(tracks_.CurrentEntry()); }
  // The engine's file may not be the entry's: one still opening, or the
  // last one after the list ran out.
  seam::TrackText CurrentText() const override {
    return engine_.graph() && engine_.playingPath() == CurrentPath() ? engine_.playingText() : seam::TrackText{};
  }
  double DurationSeconds() const override { return engine_.graph() ? engine_.duration() : 0; }
  double PositionSeconds() const override { return engine_.Position(); }
  double Volume() const override { return tracks_.VolumeLevel(); }

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
  // Tells the engine which entry follows the current one, by the rule of
  // the advance at the end of a track; after the list or the repeat mode
  // changed.
  void UpdateFollowingTrack();

  Timer& timer() { return timer_; }
  const Timer& timer() const { return timer_; }
  // Where the scrolling title starts this tick.
  std::int32_t titleOffset() const { return titleOffset_; }

 private:
  // Where the face shows the title and the elapsed time.
  static constexpr const skin::PanelTextSpot& kTitleText = skin::PanelTextOf(skin::PanelText::Title);
  static constexpr const skin::PanelTextSpot& kElapsedText = skin::PanelTextOf(skin::PanelText::Elapsed);

  // How a track change came about. Each draws what its way in always drew:
  // a button its released image, Enter the playing look when stopped.
  enum class TrackChange {
    Next,
    Previous,
    Enter,
    Advance,      // the end of a track: the graph is stopped and rewound first
    TickAdvance,  // the same from the tick, which then draws the ended track's clock once more
    TookOver,     // the graph already plays the entry
  };
  // The one way the current entry changes while playing: the rows, the bar,
  // the title and clock, the track itself (opened and started, or adopted
  // from the graph), then the face is presented and the observer told.
  // False when playback stopped because nothing can make sound.
  bool ChangeTrack(std::int32_t entry, TrackChange how);
  // Opens the track and starts it once it is ready (TrackOpened): the time
  // bar's scale, the tick, the volume, then run. Where the file does not
  // open the old track is as it was; where nothing can make sound, playback
  // stops and the user is told. False when playback has stopped already.
  bool StartTrack(std::int32_t entry);
  // The face's stopped look, the graph stopped at its start, no tick.
  void StopPlayback();
  // Stops as Stop does and says once why no sound can come.
  void StopWithoutSound(const std::string& path, bool outputLost);
  void ApplyVolume(double level);
  // The end of the current track: the following entry starts, or playback
  // stops at the end of the list (false).
  bool EndOfTrack(TrackChange how);
  // The entry that plays after the current track ends: the next, the first
  // again with repeat on, none (0) at the end of the list.
  std::int32_t FollowingEntry() const;
  // `entry` where the list has it; past the end, the first again with repeat
  // on, none (0) without.
  std::int32_t WithinList(std::int32_t entry) const;
  // The path whose name the title shows: the current entry's, or the file
  // that plays when it is no longer in the list.
  std::string TitlePath() const;
  void Notify();

  // What the engine reports.
  void TrackOpened(OpenResult result) override;
  void TrackTookOver(seam::FollowTag tag) override;
  void TrackEnded() override;
  void SoundOutputLost() override;

  PlaybackEngine& engine_;
  TrackList& tracks_;
  TimeBar& bar_;
  PlayerFaceView& face_;
  Timer timer_;
  seam::FileDialogs& messages_;
  const TextBook& texts_;
  ControlObserver* observer_ = nullptr;
  std::int32_t titleOffset_ = 0;
  // The entry whose track the graph plays; 0 when it is not in the list.
  EntryId playingId_ = 0;
  // The entry whose track is being opened.
  struct Opening {
    EntryId id = 0;
    std::string path;
  } opening_;
  bool startingTrack_ = false;  // inside StartTrack: its caller presents the face
  // The track that plays was removed from the list while it was readied to
  // follow: its own path, and the current entry names what comes after it.
  std::string offListPath_;
};

}  // namespace kestrafon
