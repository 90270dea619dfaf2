#pragma once
// The desktop's media controls (MPRIS 2) on the player's control surface:
// which command each method runs, what each property reads, and which
// properties changed since the bus last heard of them. Toolkit-free; the
// D-Bus side only translates names and types.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "control/media_keys.h"
#include "control/player_control.h"
#include "control/window_commands.h"

namespace kestrafon::mpris {

// The properties a PropertiesChanged signal may carry. Position is not one:
// clients ask for it when they need it.
enum class Property { PlaybackStatus, Metadata, Volume, CanGoNext, CanGoPrevious, CanPlay, CanPause };

struct Metadata {
  std::string trackId;      // an object path; the "no track" path when there is none
  std::int64_t lengthUs = 0;  // 0: not known yet (left out of the map)
  std::string url;          // empty when there is no track
  std::string title;        // the tags' title, else the name the face shows
  std::string artist;       // the tags' artist and album; empty when they say none
  std::string album;
  friend bool operator==(const Metadata&, const Metadata&) = default;
};

struct Snapshot {
  std::string playbackStatus;  // "Playing", "Paused" or "Stopped"
  Metadata metadata;
  double volume = 0.0;
  bool canGoNext = false, canGoPrevious = false, canPlay = false, canPause = false;
};

inline constexpr std::string_view kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
Snapshot TakeSnapshot(const PlayerControl& control);
std::vector<Property> ChangedProperties(const Snapshot& before, const Snapshot& after);

// Where the changed properties go (the D-Bus side emits them).
class PropertiesSink {
 public:
  virtual ~PropertiesSink() = default;
  virtual void PropertiesChanged(const Snapshot& now, const std::vector<Property>& changed) = 0;
};

class MprisPlayer final : public ControlObserver {
 public:
  MprisPlayer(PlayerControl& control, WindowCommands& windows);
  ~MprisPlayer() override;
  MprisPlayer(const MprisPlayer&) = delete;
  MprisPlayer& operator=(const MprisPlayer&) = delete;

  // Attaches to the control surface as its observer; null detaches.
  void SetSink(PropertiesSink* sink);

  // org.mpris.MediaPlayer2
  void Quit() { windows_.Quit(); }
  void Raise() { windows_.Raise(); }

  // org.mpris.MediaPlayer2.Player. A command the face would refuse does
  // nothing; none of them fails.
  void Play() { Press(MediaKey::Play); }
  void Pause() { Press(MediaKey::Pause); }
  void PlayPause() { Press(MediaKey::PlayPause); }
  void Stop() { Press(MediaKey::Stop); }
  void Next() { Press(MediaKey::Next); }
  void Previous() { Press(MediaKey::Previous); }
  // A file:// URI of an MP3 or a playlist file: added like Add, then the
  // first entry it added plays. False when the URI names no local file.
  bool OpenUri(std::string_view uri);
  // Adds local files in order and plays the first added entry (the command
  // line and a second launch).
  void OpenFiles(const std::vector<std::string>& paths);
  // Adds local files in order and plays nothing (`kestrafon --enqueue`).
  void EnqueueFiles(const std::vector<std::string>& paths);
  void SetVolume(double volume);

  Snapshot Now() const { return TakeSnapshot(control_); }
  std::int64_t PositionUs() const;

  // The control surface changed: tell the bus what differs, if anything.
  void OnControlChanged() override;

 private:
  void Press(MediaKey key);

  PlayerControl& control_;
  WindowCommands& windows_;
  PropertiesSink* sink_ = nullptr;
  Snapshot last_;
};

}  // namespace kestrafon::mpris
