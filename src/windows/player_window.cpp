#include "windows/player_window.h"

#include "windows/playlist_window.h"

namespace kestrafon {

using namespace skin;

namespace {
constexpr std::uint32_t kPanelBlack = 0xFF000000u;
constexpr Rgb kPanelText{255, 255, 255};
constexpr const char* kTrayTip = "Kestrafon";
}  // namespace

PlayerWindow::PlayerWindow(seam::Desktop& desktop, seam::TextRenderer& text, TrackList& tracks,
                           OptionLamps& lamps, ControlSurface& control, PlaylistWindow& playlist,
                           const SkinImages& skin)
    : desktop_(desktop),
      text_(text),
      tracks_(tracks),
      lamps_(lamps),
      control_(control),
      playlist_(playlist),
      face_(kFaceWidth, kFaceHeight, skin.face, skin.buttons, skin.parts),
      titlePanel_(kTitlePanel.w, kTitlePanel.h, kPanelBlack),
      clockPanel_(kTimePanel.w, kTimePanel.h, kPanelBlack) {}

seam::FormHost& PlayerWindow::host() { return desktop_.PlayerHost(); }

void PlayerWindow::OnTick() {
  if (closed_) return;
  control_.Tick();
}

void PlayerWindow::Load() {
  // The tray icon; its double click restores the windows. Whether it went
  // in decides later whether minimising may hide the player.
  desktop_.TrayIcon().Add(kTrayTip, [this](seam::TrayEvent event) {
    if (event == seam::TrayEvent::LeftDoubleClick) Restore();
  });

  // The face's initial state, then the knob's position, then show it all.
  DrawTransportRow();
  DrawTitleButtons();
  DrawOptionPanel();
  DrawKnob(kKnobStart);
  tracks_.SetVolumeLevel(LevelOfKnob(kKnobStart));
  Refresh();
}

void PlayerWindow::OnResize() {
  // A fresh rounded outline on every resize event, restores included.
  const seam::Point size = host().OuterSize();
  host().SetRoundedRegion(size.x, size.y, kRegionCorner, kRegionCorner);
}

void PlayerWindow::Close() {
  if (closed_) return;
  // Counting loaded windows, not naming the playlist, so closing never
  // creates a playlist window that did not exist.
  if (playlist_.Loaded()) playlist_.Unload();
  desktop_.TrayIcon().Remove();
  closed_ = true;
  host().SetVisible(false);
  desktop_.Quit();
}

void PlayerWindow::Restore() {
  if (closed_) return;
  host().SetVisible(true);
  host().SetWindowState(seam::WindowState::Normal);
  face_.MarkDirty({0, 0, kFaceWidth, kFaceHeight});
  Refresh();
  if (playlist_.Loaded()) playlist_.SetVisible(true);
}

void PlayerWindow::ClearTitle() {
  titlePanel_.Fill(kPanelBlack);
  titleDirty_ = true;
}

void PlayerWindow::ClearClock() {
  clockPanel_.Fill(kPanelBlack);
  clockDirty_ = true;
}

void PlayerWindow::DrawTitle(int x, int y, std::string_view text) {
  text_.DrawText(titlePanel_, x, y, text, kPanelText);
  titleDirty_ = true;
}

void PlayerWindow::DrawClock(int x, int y, std::string_view text) {
  text_.DrawText(clockPanel_, x, y, text, kPanelText);
  clockDirty_ = true;
}

void PlayerWindow::Refresh() {
  if (titleDirty_) face_.Put(titlePanel_, kTitlePanel.x, kTitlePanel.y);
  if (clockDirty_) face_.Put(clockPanel_, kTimePanel.x, kTimePanel.y);
  titleDirty_ = clockDirty_ = false;
  const Rect dirty = face_.TakeDirty();
  if (dirty.w > 0 && dirty.h > 0) host().Present(face_.image(), dirty);
}

}  // namespace kestrafon
