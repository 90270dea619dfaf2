#pragma once
// The player window: its retained face with the title and time panels, the
// start-up and shut-down, the face buttons and the playback tick.
#include <cstdint>
#include <string_view>

#include "app/hit_areas.h"
#include "platform/form_host.h"
#include "skin/face.h"

namespace kestrafon {

class AppContext;

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

class frmPlayer : public platform::FormEventSink {
 public:
  frmPlayer(AppContext& ctx, const SkinImages& skin);

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
  // The playback tick.
  void Timer_Timer();

  // Face procedures: the fixed parts of the face.
  void DrawButtonPanel();
  void SetControlButtonPos();
  void DrawOptionPanel();
  void SetVolumeKnob(const std::int32_t& x);

  // The two text panels: cleared to black, text in white.
  void ClsTitle();
  void ClsTime();
  void TextOutTitle(int x, int y, std::string_view text);
  void TextOutTime(int x, int y, std::string_view text);

  // Presents what was drawn since the last refresh.
  void Refresh();

  Face& face() { return face_; }
  const Image& picTitle() const { return picTitle_; }
  const Image& picTime() const { return picTime_; }
  PressFlags& flags() { return flags_; }
  std::int32_t titleOffset() const { return titleOffset_; }
  platform::FormHost& host();

  // Window events.
  void OnMouseDown(int button, double x, double y) override { Form_MouseDown(button, x, y); }
  void OnMouseMove(int buttons, double x, double y) override { Form_MouseMove(buttons, x, y); }
  void OnMouseUp(int button, double x, double y) override { Form_MouseUp(button, x, y); }
  void OnKeyDown(platform::Key) override {}
  void OnResize() override { Form_Resize(); }
  void OnCloseRequested() override { Unload(); }

 private:
  void DrawTransport(const skin::Sprite& sprite) { face_.Draw(sprite); }
  // Commands run by a release over their button.
  void PreviousCommand();
  void NextCommand();
  void PauseCommand();
  void PlayCommand();
  void StopCommand();
  void MinimiseCommand();
  void ResetTimeBarFill();
  // Whether a transport button's command may run in the present state; asked
  // on press and again on release, since a tick may have moved on meanwhile.
  bool Accepts(hit::Button button) const;
  // Presents what was drawn (a pressed image), then lets queued events run.
  void LetPendingEventsRun();
  void ReleaseTransport(double x, double y);
  // The end of the current track; false when playback stopped at the end of the list.
  bool EndOfTrack();

  AppContext& ctx_;
  Face face_;
  Image picTitle_;
  Image picTime_;
  PressFlags flags_;
  std::int32_t titleOffset_ = 0;
  bool titleDirty_ = true;
  bool timeDirty_ = true;
  bool unloaded_ = false;
  bool trayIconAdded_ = false;  // the tray took the icon at start-up
  bool dragging_ = false;  // inside the window's move loop
};

}  // namespace kestrafon
