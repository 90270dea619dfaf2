#pragma once
// The player window: its retained face with the title and clock panels, the
// start-up and shut-down, and the face buttons. Its commands and the
// playback tick are the control surface's; the face only draws.
#include <cstdint>
#include <string_view>

#include "control/control_surface.h"
#include "control/player_face_view.h"
#include "model/track_list.h"
#include "seam/desktop.h"
#include "seam/form_host.h"
#include "seam/text_renderer.h"
#include "skin/face.h"
#include "skin/option_lamps.h"
#include "windows/face_hit_areas.h"

namespace kestrafon {

class PlaylistWindow;

// The transport and title-bar buttons remember a press until its release.
struct PressedButtons {
  bool minimise = false;
  bool close = false;
  bool previous = false;
  bool pause = false;
  bool play = false;
  bool stop = false;
  bool next = false;
};

class PlayerWindow : public seam::FormEventSink, public PlayerFaceView {
 public:
  PlayerWindow(seam::Desktop& desktop, seam::TextRenderer& text, TrackList& tracks, OptionLamps& lamps,
               ControlSurface& control, PlaylistWindow& playlist, const SkinImages& skin);

  // Start-up: the tray icon, then the face's first look.
  void Load();
  // Closes the player: the playlist window first, then the tray icon, then
  // the event loop ends.
  void Close();
  bool Closed() const { return closed_; }
  // Shows the player again, out of the tray or a minimised state, with the
  // playlist window when it is loaded.
  void Restore();

  // The playback tick: the control surface's, while the player is open.
  void OnTick();

  // Face procedures: the fixed parts of the face.
  void DrawSprite(const skin::Sprite& sprite) override { face_.Draw(sprite); }
  void DrawTransportRow() override;
  void DrawTitleButtons();
  void DrawOptionPanel();
  void DrawVolumeKnob(double level) override;
  // The knob with its left edge at `x`, in face pixels.
  void DrawKnob(std::int32_t x);

  // The two text panels: cleared to black, text in white.
  void ClearTitle() override;
  void ClearClock() override;
  void DrawTitle(int x, int y, std::string_view text) override;
  void DrawClock(int x, int y, std::string_view text) override;

  // Presents what was drawn since the last refresh.
  void Refresh() override;

  Face& face() { return face_; }
  const Image& titlePanel() const { return titlePanel_; }
  const Image& clockPanel() const { return clockPanel_; }
  PressedButtons& pressed() { return pressed_; }
  std::int32_t titleOffset() const { return control_.titleOffset(); }
  seam::FormHost& host();

  // Window events: face buttons and the knob, the rounded outline, closing.
  void OnMouseDown(int button, double x, double y) override;
  void OnMouseMove(int buttons, double x, double y) override;
  void OnMouseUp(int button, double x, double y) override;
  void OnKeyDown(seam::Key) override {}
  void OnResize() override;
  void OnCloseRequested() override { Close(); }

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

  seam::Desktop& desktop_;
  seam::TextRenderer& text_;
  TrackList& tracks_;
  OptionLamps& lamps_;
  ControlSurface& control_;
  PlaylistWindow& playlist_;
  Face face_;
  Image titlePanel_;
  Image clockPanel_;
  PressedButtons pressed_;
  bool titleDirty_ = true;
  bool clockDirty_ = true;
  bool closed_ = false;
  bool dragging_ = false;  // inside the window's move loop
};

}  // namespace kestrafon
