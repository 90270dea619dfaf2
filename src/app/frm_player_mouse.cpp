// The face buttons: a press draws the pressed image and remembers itself in
// a press flag, the release over the same button runs its command, and a
// release anywhere else puts the released images back.
#include <cmath>

#include "app/frm_player.h"
#include "app/hit_areas.h"
#include "shell/drag_window.h"

namespace kestrafon {

using namespace skin;
using hit::Button;

namespace {

struct TransportButton {
  Button button;
  const Sprite* pressed;
  const Sprite* released;
  bool PressFlags::*flag;
};

// In the order a release elsewhere restores them.
constexpr TransportButton kTransport[] = {
    {Button::Play, &kPlayPressed, &kPlayReleased, &PressFlags::PlayBtnFlg},
    {Button::Pause, &kPausePressed, &kPauseReleased, &PressFlags::PauseBtnFlg},
    {Button::Stop, &kStopPressed, &kStopReleased, &PressFlags::StopBtnFlg},
    {Button::Previous, &kPrevPressed, &kPrevReleased, &PressFlags::PrevBtnFlg},
    {Button::Next, &kNextPressed, &kNextReleased, &PressFlags::NextBtnFlg},
};

constexpr const TransportButton& TransportOf(Button b) {
  for (const TransportButton& t : kTransport)
    if (t.button == b) return t;
  return kTransport[0];
}

}  // namespace

bool frmPlayer::Accepts(Button button) const {
  switch (button) {
    case Button::Previous: return control_.CanPrevious();
    case Button::Pause: return control_.CanPause();
    case Button::Stop: return control_.CanStop();
    case Button::Play: return control_.CanPlay();
    case Button::Next: return control_.CanNext();
    default: return false;
  }
}

void frmPlayer::RunTransport(Button button) {
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

void frmPlayer::LetPendingEventsRun() {
  Refresh();
  desktop_.ProcessPendingEvents();
}

void frmPlayer::Form_MouseDown(int, double x, double y) {
  if (unloaded_) return;
  clsPlayer& player = player_;

  if (hit::Of(Button::Minimise).press.Contains(x, y)) {
    face_.Draw(kMinimisePressed);
    flags_.MinBtnFlg = true;
    LetPendingEventsRun();
  } else if (hit::Of(Button::Close).press.Contains(x, y)) {
    face_.Draw(kClosePressed);
    flags_.CloseBtnFlg = true;
    LetPendingEventsRun();
  } else if (hit::Of(Button::Playlist).press.Contains(x, y)) {
    bar_.drawList();
  } else if (hit::Of(Button::Repeat).press.Contains(x, y)) {
    // The lamp and the mode flip together, so they always agree.
    bar_.drawRepeat();
    player.CheckRepeat(!player.CheckRepeat());
  } else if (hit::Of(Button::OnTop).press.Contains(x, y)) {
    bar_.drawFront();
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
      flags_.*t.flag = true;
      if (b == Button::Pause) player.CheckTemporary(!player.CheckTemporary());
      LetPendingEventsRun();
      break;
    }
    if (!inColumn && !hit::kNoDragColumn.Contains(x) && !hit::kNoDragBand.Contains(y)) {
      // The move loop swallows the release of this press; anything it lets
      // through meanwhile is not a release of a face button.
      dragging_ = true;
      DragWindow(host());
      dragging_ = false;
    }
  }
  if (!unloaded_) Refresh();
}

void frmPlayer::Form_MouseMove(int buttons, double x, double y) {
  if (unloaded_ || dragging_) return;
  if (buttons != platform::kLeftButton || !hit::kVolumeDrag.Contains(x, y)) return;
  const std::int32_t knob = static_cast<std::int32_t>(std::nearbyint(x));  // halves to even
  control_.SetKnobVolume(knob);
  Refresh();
}

void frmPlayer::Form_MouseUp(int, double x, double y) {
  if (unloaded_ || dragging_) return;
  // The option buttons did all their work on press.
  for (const Button b : {Button::Playlist, Button::Repeat, Button::OnTop})
    if (hit::Of(b).release.Contains(x, y)) return;

  const bool onClose = hit::Of(Button::Close).release.Contains(x, y);
  if (onClose && flags_.CloseBtnFlg) {
    Unload();
    return;
  }
  if (!onClose) {
    SetControlButtonPos();
    flags_.CloseBtnFlg = false;
  }

  // Only the release over the button clears this flag: a press elsewhere
  // released over minimise still minimises.
  if (hit::Of(Button::Minimise).release.Contains(x, y) && flags_.MinBtnFlg) {
    MinimiseCommand();
    if (unloaded_) return;
  }

  ReleaseTransport(x, y);
  if (!unloaded_) Refresh();
}

void frmPlayer::ReleaseTransport(double x, double y) {
  for (const TransportButton& t : kTransport) {
    if (!hit::Of(t.button).release.Contains(x, y)) continue;
    if (!(flags_.*t.flag)) return;  // another button's press: its flag waits
    if (!Accepts(t.button)) {
      // The track moved on while the button was held (a tick ended it):
      // the command no longer fits, so the press comes to nothing.
      face_.Draw(*t.released);
      flags_.*t.flag = false;
      return;
    }
    flags_.*t.flag = false;
    RunTransport(t.button);
    return;
  }
  for (const TransportButton& t : kTransport) {
    if (!(flags_.*t.flag)) continue;
    face_.Draw(*t.released);
    flags_.*t.flag = false;
  }
}

void frmPlayer::MinimiseCommand() {
  SetControlButtonPos();
  flags_.MinBtnFlg = false;
  LetPendingEventsRun();
  if (unloaded_) return;  // closed meanwhile
  host().SetWindowState(platform::WindowState::Minimised);
  // Without a tray icon nothing could bring a hidden player back: it stays a
  // minimised window for the window manager to restore, and the playlist
  // window stays where it is. A tray that turned up after start-up does not
  // hold our icon, and one that went away took it along.
  if (!trayIconAdded_ || !desktop_.TrayIcon().Available()) return;
  host().SetVisible(false);
  if (playlist_.Loaded()) playlist_.SetVisible(false);
}

}  // namespace kestrafon
