#pragma once
// The player's one control surface. Every way in (the face buttons, the
// playlist window's keys, the playback tick, the desktop's media controls,
// the command line, a second launch and drag and drop) calls these commands,
// so each command is written once, in one order of steps, and a command the
// face would refuse is refused the same way everywhere.
//
// Toolkit-free: it drives the engine, the player state and the skin, and
// draws on the player face through the face's own procedures.
#include <cstdint>
#include <string>
#include <vector>

#include "seam/media.h"

namespace kestrafon {

enum class PlaybackState { Stopped, Playing, Paused };

// What a command did: it ran, or it was refused in the present state and
// changed nothing.
enum class CommandResult { Done, Refused };

// Told after anything a caller can read from the surface may have changed
// (a command, a list change, a track change at the end of a track or when
// the next track took over). Never for a tick that merely moved the
// position.
class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void OnControlChanged() = 0;
};

class PlayerControl {
 public:
  virtual ~PlayerControl() = default;

  // Transport, as the face's buttons do it (press and release in one).
  virtual CommandResult Play() = 0;      // refused on an empty list or while playing
  virtual CommandResult Pause() = 0;     // the face's toggle; refused while not playing
  virtual CommandResult Stop() = 0;      // refused while not playing
  virtual CommandResult Next() = 0;      // refused while not playing or on the last track
  virtual CommandResult Previous() = 0;  // refused while not playing or on track 1
  // What Enter in the playlist window does for entry `n` (1-based).
  virtual CommandResult PlayEntry(std::int32_t n) = 0;
  // One playback tick: it draws the title, clock and bar, and moves on at
  // the end of a track where nothing was readied to follow.
  virtual void Tick() = 0;
  // What Add does with the files chosen in the open dialog: each path in
  // order, a playlist file read as a playlist. Returns the number of entries
  // appended; the first of them is entry count-before + 1.
  virtual std::int32_t AddFiles(const std::vector<std::string>& paths) = 0;
  // The volume as a level from 0 (the quietest the player plays) to 1 (the
  // loudest), as a drag of the knob along its bar sets it; clamped.
  virtual void SetVolume(double level) = 0;

  // Whether the face would accept the command right now.
  virtual bool CanPlay() const = 0;
  virtual bool CanPause() const = 0;
  virtual bool CanStop() const = 0;
  virtual bool CanNext() const = 0;
  virtual bool CanPrevious() const = 0;

  // Read-only state.
  virtual PlaybackState State() const = 0;
  virtual std::int32_t CurrentEntry() const = 0;   // 1-based
  virtual std::int32_t EntryCount() const = 0;
  virtual std::string CurrentPath() const = 0;     // empty past the end of the list
  // What the current entry's tags say, once its file plays (opened, or taken
  // over); empty before, and when the file says nothing.
  virtual seam::TrackText CurrentText() const = 0;
  virtual double DurationSeconds() const = 0;      // 0 until a track has opened
  virtual double PositionSeconds() const = 0;      // 0 until a track has opened
  virtual double Volume() const = 0;               // the level, 0..1

  // One observer (the desktop bridge); null to detach.
  virtual void SetObserver(ControlObserver* observer) = 0;
};

}  // namespace kestrafon
