#include "app/frm_player.h"
#include "app/window_proc.h"

namespace kestrafon {

using namespace skin;

namespace {
constexpr std::uint32_t kPanelBlack = 0xFF000000u;
constexpr Rgb kPanelText{255, 255, 255};
constexpr const char* kTrayTip = "Kestrafon";
}  // namespace

frmPlayer::frmPlayer(platform::Desktop& desktop, platform::TextRenderer& text, clsPlayer& player, clsWindow& bar,
                     ControlSurface& control, PlaylistWindowLink& playlist, const SkinImages& skin)
    : desktop_(desktop),
      text_(text),
      player_(player),
      bar_(bar),
      control_(control),
      playlist_(playlist),
      face_(kFaceWidth, kFaceHeight, skin.face, skin.buttons, skin.parts),
      picTitle_(kTitlePanel.w, kTitlePanel.h, kPanelBlack),
      picTime_(kTimePanel.w, kTimePanel.h, kPanelBlack) {}

platform::FormHost& frmPlayer::host() { return desktop_.PlayerHost(); }

void frmPlayer::Timer_Timer() {
  if (unloaded_) return;
  control_.Tick();
}

void frmPlayer::Form_Load() {
  // The player state and the skin-drawing object already exist in the
  // context. Add the tray icon; its double click restores the windows.
  // Whether it is there decides later whether minimising may hide the player.
  trayIconAdded_ = desktop_.TrayIcon().Add(
      kTrayTip, [this](platform::TrayEvent event) { WindowProc(*this, playlist_, event); });

  // The face's initial state, then the knob's position, then show it all.
  DrawButtonPanel();
  SetControlButtonPos();
  DrawOptionPanel();
  SetVolumeKnob(kKnobStart);
  player_.VolumePos(kKnobStart);
  Refresh();
}

void frmPlayer::Form_Resize() {
  // A fresh rounded outline on every resize event, restores included.
  const platform::Point size = host().OuterSize();
  host().SetRoundedRegion(size.x, size.y, kRegionCorner, kRegionCorner);
}

void frmPlayer::Form_QueryUnload() {
  // Counting loaded windows, not naming the playlist, so closing never
  // creates a playlist window that did not exist.
  if (playlist_.Loaded()) playlist_.Unload();
}

void frmPlayer::Form_Unload() { DeleteTrayIcon(desktop_); }

void frmPlayer::Unload() {
  if (unloaded_) return;
  Form_QueryUnload();
  Form_Unload();
  unloaded_ = true;
  host().SetVisible(false);
  desktop_.Quit();
}

void frmPlayer::ClsTitle() {
  picTitle_.Fill(kPanelBlack);
  titleDirty_ = true;
}

void frmPlayer::ClsTime() {
  picTime_.Fill(kPanelBlack);
  timeDirty_ = true;
}

void frmPlayer::TextOutTitle(int x, int y, std::string_view text) {
  text_.DrawText(picTitle_, x, y, text, kPanelText);
  titleDirty_ = true;
}

void frmPlayer::TextOutTime(int x, int y, std::string_view text) {
  text_.DrawText(picTime_, x, y, text, kPanelText);
  timeDirty_ = true;
}

void frmPlayer::Refresh() {
  if (titleDirty_) face_.Put(picTitle_, kTitlePanel.x, kTitlePanel.y);
  if (timeDirty_) face_.Put(picTime_, kTimePanel.x, kTimePanel.y);
  titleDirty_ = timeDirty_ = false;
  const Rect dirty = face_.TakeDirty();
  if (dirty.w > 0 && dirty.h > 0) host().Present(face_.image(), dirty);
}

}  // namespace kestrafon
