// The face buttons: a press draws the pressed image and remembers itself in
// a press flag, the release over the same button runs its command, and a
// release anywhere else puts the released images back.
#include <cmath>

#include "windows/player_window.h"
#include "windows/face_hit_areas.h"
#include "windows/playlist_window.h"

namespace kestrafon {

using namespace skin;
using hit::Button;

namespace {

struct TransportButton {
  Button button;
  const Sprite* pressed;
  const Sprite* released;
  bool PressedButtons::*held;
};

// In the order a release elsewhere restores them.
constexpr TransportButton kTransport[] = {
    {Button::Play, &kPlayPressed, &kPlayReleased, &PressedButtons::play},
    {Button::Pause, &kPausePressed, &kPauseReleased, &PressedButtons::pause},
    {Button::Stop, &kStopPressed, &kStopReleased, &PressedButtons::stop},
    {Button::Previous, &kPrevPressed, &kPrevReleased, &PressedButtons::previous},
    {Button::Next, &kNextPressed, &kNextReleased, &PressedButtons::next},
};

constexpr const TransportButton& TransportOf(Button b) {
  for (const TransportButton& t : kTransport)
    if (t.button == b) return t;
  return kTransport[0];
}

}  // namespace

bool PlayerWindow::Accepts(Button button) const {
  switch (button) {
    case Button::Previous: return control_.CanPrevious();
    case Button::Pause: return control_.CanPause();
    case Button::Stop: return control_.CanStop();
    case Button::Play: return control_.CanPlay();
    case Button::Next: return control_.CanNext();
    default: return false;
  }
}

void PlayerWindow::RunTransport(Button button) {
  // Play and Pause: the press already did the first steps.
  switch (button) {
    case Button::Previous: control_.Previous(); break;
    case Button::Pause: control_.PauseAfterPress(); break;
    case Button::Play: control_.PlayAfterPress(); break;
    case Button::Stop: control_.Stop(); break;
    case Button::Next: control_.Next(); break;
    default: break;
  }
}

void PlayerWindow::LetPendingEventsRun() {
  Refresh();
  desktop_.ProcessPendingEvents();
}

void PlayerWindow::OnMouseDown(int, double x, double y) {
  if (closed_) return;
  if (hit::Of(Button::Minimise).press.Contains(x, y)) {
    face_.Draw(kMinimisePressed);
    pressed_.minimise = true;
    LetPendingEventsRun();
  } else if (hit::Of(Button::Close).press.Contains(x, y)) {
    face_.Draw(kClosePressed);
    pressed_.close = true;
    LetPendingEventsRun();
  } else if (hit::Of(Button::Playlist).press.Contains(x, y)) {
    lamps_.ToggleList();
  } else if (hit::Of(Button::Repeat).press.Contains(x, y)) {
    // The lamp and the mode flip together, so they always agree.
    lamps_.ToggleRepeat();
    tracks_.SetRepeat(!tracks_.Repeats());
    control_.UpdateFollowingTrack();  // the last track is now followed by the first, or by nothing
  } else if (hit::Of(Button::OnTop).press.Contains(x, y)) {
    lamps_.ToggleTopMost();
  } else if (hit::kQuietColumn.Contains(x)) {
    // Between stop and next: nothing but the refresh.
  } else {
    // The transport columns (none of them overlaps the quiet one), then the free face.
    bool inColumn = false;
    for (const Button b : {Button::Previous, Button::Pause, Button::Play, Button::Stop, Button::Next}) {
      if (!hit::Of(b).press.x.Contains(x)) continue;
      inColumn = true;
      if (!hit::kTransportRow.Contains(y) || !Accepts(b)) return;  // swallowed: no refresh
      const TransportButton& t = TransportOf(b);
      face_.Draw(*t.pressed);
      pressed_.*t.held = true;
      if (b == Button::Pause) tracks_.SetPauseToggled(!tracks_.PauseToggled());
      LetPendingEventsRun();
      break;
    }
    if (!inColumn && !hit::kNoDragColumn.Contains(x) && !hit::kNoDragBand.Contains(y)) {
      // The move loop swallows the release of this press; anything it lets
      // through meanwhile is not a release of a face button.
      dragging_ = true;
      host().DragMove();
      dragging_ = false;
    }
  }
  if (!closed_) Refresh();
}

void PlayerWindow::OnMouseMove(int buttons, double x, double y) {
  if (closed_ || dragging_) return;
  if (buttons != seam::kLeftButton || !hit::kVolumeDrag.Contains(x, y)) return;
  const std::int32_t knob = static_cast<std::int32_t>(std::nearbyint(x));  // halves to even
  control_.SetVolume(LevelOfKnob(knob));
  Refresh();
}

void PlayerWindow::OnMouseUp(int, double x, double y) {
  if (closed_ || dragging_) return;
  // The option buttons did all their work on press.
  for (const Button b : {Button::Playlist, Button::Repeat, Button::OnTop})
    if (hit::Of(b).release.Contains(x, y)) return;

  const bool onClose = hit::Of(Button::Close).release.Contains(x, y);
  if (onClose && pressed_.close) {
    Close();
    return;
  }
  if (!onClose) {
    DrawTitleButtons();
    pressed_.close = false;
  }

  // Only the release over the button clears this flag: a press elsewhere
  // released over minimise still minimises.
  if (hit::Of(Button::Minimise).release.Contains(x, y) && pressed_.minimise) {
    MinimiseCommand();
    if (closed_) return;
  }

  ReleaseTransport(x, y);
  if (!closed_) Refresh();
}

void PlayerWindow::ReleaseTransport(double x, double y) {
  for (const TransportButton& t : kTransport) {
    if (!hit::Of(t.button).release.Contains(x, y)) continue;
    if (!(pressed_.*t.held)) return;  // another button's press: its flag waits
    if (!Accepts(t.button)) {
      // The track moved on while the button was held (a tick ended it):
      // the command no longer fits, so the press comes to nothing.
      face_.Draw(*t.released);
      pressed_.*t.held = false;
      return;
    }
    pressed_.*t.held = false;
    RunTransport(t.button);
    return;
  }
  for (const TransportButton& t : kTransport) {
    if (!(pressed_.*t.held)) continue;
    face_.Draw(*t.released);
    pressed_.*t.held = false;
  }
}

void PlayerWindow::MinimiseCommand() {
  DrawTitleButtons();
  pressed_.minimise = false;
  LetPendingEventsRun();
  if (closed_) return;  // closed meanwhile
  host().SetWindowState(seam::WindowState::Minimised);
  // Without a tray icon nothing could bring a hidden player back: it stays a
  // minimised window for the window manager to restore, and the playlist
  // window stays where it is.
  if (!desktop_.TrayIcon().HasIcon()) return;
  host().SetVisible(false);
  if (playlist_.Loaded()) playlist_.SetVisible(false);
}

}  // namespace kestrafon
