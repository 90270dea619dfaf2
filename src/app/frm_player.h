#pragma once
// The player window: its retained face with the title and time panels, the
// start-up and shut-down, and the face buttons. Its commands and the
// playback tick are the control surface's; the face only draws.
#include <cstdint>
#include <string_view>

#include "app/hit_areas.h"
#include "app/playlist_window_link.h"
#include "control/control_surface.h"
#include "control/player_face_view.h"
#include "model/cls_player.h"
#include "platform/desktop.h"
#include "platform/form_host.h"
#include "platform/text_renderer.h"
#include "skin/cls_window.h"
#include "skin/face.h"

namespace kestrafon {

// The transport and title-bar buttons remember a press until its release.
struct PressFlags {
  bool MinBtnFlg = false;
  bool CloseBtnFlg = false;
  bool PrevBtnFlg = false;
  bool PauseBtnFlg = false;
  bool PlayBtnFlg = false;
  bool StopBtnFlg = false;
  bool NextBtnFlg = false;
};

class frmPlayer : public platform::FormEventSink, public PlayerFaceView {
 public:
  frmPlayer(platform::Desktop& desktop, platform::TextRenderer& text, clsPlayer& player, clsWindow& bar,
            ControlSurface& control, PlaylistWindowLink& playlist, const SkinImages& skin);

  // Start-up, window shape and shut-down.
  void Form_Load();
  void Form_Resize();
  void Form_QueryUnload();
  void Form_Unload();
  // Closes the player: the playlist window first, then the tray icon.
  void Unload();
  bool Unloaded() const { return unloaded_; }

  // Face buttons and the knob.
  void Form_MouseDown(int button, double x, double y);
  void Form_MouseMove(int buttons, double x, double y);
  void Form_MouseUp(int button, double x, double y);
  // The playback tick: the control surface's, while the player is open.
  void Timer_Timer();

  // Face procedures: the fixed parts of the face.
  void DrawSprite(const skin::Sprite& sprite) override { face_.Draw(sprite); }
  void DrawButtonPanel() override;
  void SetControlButtonPos();
  void DrawOptionPanel();
  void SetVolumeKnob(const std::int32_t& x) override;

  // The two text panels: cleared to black, text in white.
  void ClsTitle() override;
  void ClsTime() override;
  void TextOutTitle(int x, int y, std::string_view text) override;
  void TextOutTime(int x, int y, std::string_view text) override;

  // Presents what was drawn since the last refresh.
  void Refresh() override;

  Face& face() { return face_; }
  const Image& picTitle() const { return picTitle_; }
  const Image& picTime() const { return picTime_; }
  PressFlags& flags() { return flags_; }
  std::int32_t titleOffset() const { return control_.titleOffset(); }
  platform::FormHost& host();

  // Window events.
  void OnMouseDown(int button, double x, double y) override { Form_MouseDown(button, x, y); }
  void OnMouseMove(int buttons, double x, double y) override { Form_MouseMove(buttons, x, y); }
  void OnMouseUp(int button, double x, double y) override { Form_MouseUp(button, x, y); }
  void OnKeyDown(platform::Key) override {}
  void OnResize() override { Form_Resize(); }
  void OnCloseRequested() override { Unload(); }

 private:
  void MinimiseCommand();
  // Whether a transport button's command may run in the present state (the
  // control surface's rule); asked on press and again on release, since a
  // tick may have moved on meanwhile.
  bool Accepts(hit::Button button) const;
  // Runs the command of a released transport button.
  void RunTransport(hit::Button button);
  // Presents what was drawn (a pressed image), then lets queued events run.
  void LetPendingEventsRun();
  void ReleaseTransport(double x, double y);
  platform::Desktop& desktop_;
  platform::TextRenderer& text_;
  clsPlayer& player_;
  clsWindow& bar_;
  ControlSurface& control_;
  PlaylistWindowLink& playlist_;
  Face face_;
  Image picTitle_;
  Image picTime_;
  PressFlags flags_;
  bool titleDirty_ = true;
  bool timeDirty_ = true;
  bool unloaded_ = false;
  bool trayIconAdded_ = false;  // the tray took the icon at start-up
  bool dragging_ = false;  // inside the window's move loop
};

}  // namespace kestrafon
