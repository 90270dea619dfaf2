#pragma once
// The application context: owns the one player state, the one skin-drawing
// object, the engine, the timer and both windows, and wires them to the
// platform. Each test builds a fresh one.
#include "app/frm_player.h"
#include "app/timer.h"
#include "engine/mod_directx.h"
#include "model/cls_player.h"
#include "platform/desktop.h"
#include "platform/media.h"
#include "platform/text_renderer.h"
#include "playlist/frm_playlist.h"
#include "skin/cls_window.h"

namespace kestrafon {

class AppContext : private PlaybackHooks, private WindowEffects {
 public:
  AppContext(platform::Desktop& desktop, platform::MediaFramework& media, platform::TextRenderer& text,
             const SkinImages& skin);
  ~AppContext() override;
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  platform::Desktop& desktop;
  platform::TextRenderer& text;
  Timer timer;
  modDirectx engine;
  frmplayList playList;
  clsPlayer gPlayer;
  frmPlayer player;
  clsWindow gWindow;

 private:
  void GetTimeBar() override { gWindow.GetTimeBar(); }
  void EnableTimer() override { timer.Enabled(true); }
  bool ApplyKnobVolume() override { return gPlayer.SetAudioVolume(gPlayer.VolumePos()); }

  void ShowPlaylist() override { playList.Show(); }
  void UnloadPlaylist() override { playList.Unload(); }
  bool PlaylistLoaded() const override { return playList.Loaded(); }
  void SetPlayerTopMost(bool topMost) override { desktop.PlayerHost().SetTopMost(topMost); }
  void SetPlaylistTopMost(bool topMost) override {
    if (auto* host = playList.host()) host->SetTopMost(topMost);
  }
};

}  // namespace kestrafon
