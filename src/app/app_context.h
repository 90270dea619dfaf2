#pragma once
// The application context: owns the one player state, the one skin-drawing
// object, the engine, the control surface and both windows, and wires them
// to the platform and to each other. Each test builds a fresh one.
#include "app/frm_player.h"
#include "app/playlist_window_link.h"
#include "control/control_surface.h"
#include "engine/mod_directx.h"
#include "model/cls_player.h"
#include "platform/desktop.h"
#include "platform/media.h"
#include "platform/text_renderer.h"
#include "playlist/frm_playlist.h"
#include "playlist/player_window_link.h"
#include "skin/cls_window.h"

namespace kestrafon {

class AppContext : private PlaybackHooks,
                   private WindowEffects,
                   private PlaylistWindowLink,
                   private PlayerWindowLink {
 public:
  AppContext(platform::Desktop& desktop, platform::MediaFramework& media, platform::TextRenderer& text,
             const SkinImages& skin);
  ~AppContext() override;
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  platform::Desktop& desktop() { return desktop_; }
  ControlSurface& control() { return control_; }
  Timer& timer() { return control_.timer(); }
  modDirectx& engine() { return engine_; }
  clsPlayer& gPlayer() { return gPlayer_; }
  clsWindow& gWindow() { return gWindow_; }
  frmPlayer& player() { return player_; }
  frmplayList& playList() { return playList_; }
  const clsPlayer& gPlayer() const { return gPlayer_; }
  const frmplayList& playList() const { return playList_; }
  const modDirectx& engine() const { return engine_; }
  // The playlist window as the player window sees it.
  PlaylistWindowLink& playlistWindow() { return *this; }

 private:
  // What opening a track sets off.
  void GetTimeBar() override { gWindow_.GetTimeBar(); }
  void EnableTimer() override { control_.timer().Enabled(true); }
  bool ApplyKnobVolume() override { return gPlayer_.SetAudioVolume(gPlayer_.VolumePos()); }

  // What the face's toggles do to the windows.
  void ShowPlaylist() override { playList_.Show(); }
  void UnloadPlaylist() override { playList_.Unload(); }
  bool PlaylistLoaded() const override { return playList_.Loaded(); }
  void SetPlayerTopMost(bool topMost) override { desktop_.PlayerHost().SetTopMost(topMost); }
  void SetPlaylistTopMost(bool topMost) override { SetTopMost(topMost); }

  // The playlist window, for the player window.
  bool Loaded() const override { return playList_.Loaded(); }
  void Show() override { playList_.Show(); }
  void Unload() override { playList_.Unload(); }
  void SetVisible(bool visible) override { playList_.SetVisible(visible); }
  void SetTopMost(bool topMost) override {
    if (auto* host = playList_.host()) host->SetTopMost(topMost);
  }

  // The player window, for the playlist window.
  platform::Point PlayerPosition() override { return player_.host().Position(); }
  platform::Point PlayerOuterSize() override { return player_.host().OuterSize(); }

  platform::Desktop& desktop_;
  modDirectx engine_;
  frmplayList playList_;
  clsPlayer gPlayer_;
  frmPlayer player_;
  clsWindow gWindow_;
  ControlSurface control_;
};

}  // namespace kestrafon
