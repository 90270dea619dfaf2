#pragma once
// The application context: owns the engine, the track list, both windows,
// the lamps and the time bar on the player's face, and the control surface,
// and wires them to the platform and to each other. Each test builds a
// fresh one.
#include "control/control_surface.h"
#include "engine/playback_engine.h"
#include "model/track_list.h"
#include "seam/desktop.h"
#include "seam/media.h"
#include "seam/skin_images.h"
#include "seam/text_renderer.h"
#include "skin/option_lamps.h"
#include "skin/time_bar.h"
#include "windows/player_window.h"
#include "windows/playlist_window.h"

namespace kestrafon {

class AppContext : private WindowEffects {
 public:
  // The windows and messages speak the words of `texts`.
  AppContext(seam::Desktop& desktop, seam::MediaFramework& media, seam::TextRenderer& text,
             const SkinImages& skin, const TextBook& texts = JapaneseTexts());
  ~AppContext() override;
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  seam::Desktop& desktop() { return desktop_; }
  const TextBook& texts() const { return texts_; }
  ControlSurface& control() { return control_; }
  Timer& timer() { return control_.timer(); }
  PlaybackEngine& engine() { return engine_; }
  TrackList& tracks() { return tracks_; }
  OptionLamps& lamps() { return lamps_; }
  TimeBar& timeBar() { return timeBar_; }
  PlayerWindow& playerWindow() { return player_; }
  PlaylistWindow& playlistWindow() { return playlist_; }
  const TrackList& tracks() const { return tracks_; }
  const PlaylistWindow& playlistWindow() const { return playlist_; }
  const PlaybackEngine& engine() const { return engine_; }

 private:
  // What the lamps do to the windows.
  void ShowPlaylist() override { playlist_.Show(); }
  void UnloadPlaylist() override { playlist_.Unload(); }
  bool PlaylistLoaded() const override { return playlist_.Loaded(); }
  void SetPlayerTopMost(bool topMost) override { desktop_.PlayerHost().SetTopMost(topMost); }
  void SetPlaylistTopMost(bool topMost) override {
    if (auto* host = playlist_.host()) host->SetTopMost(topMost);
  }

  seam::Desktop& desktop_;
  const TextBook& texts_;
  PlaybackEngine engine_;
  PlaylistWindow playlist_;
  TrackList tracks_;
  PlayerWindow player_;
  OptionLamps lamps_;
  TimeBar timeBar_;
  ControlSurface control_;
};

}  // namespace kestrafon
