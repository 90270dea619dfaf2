#include "app/app_context.h"
#include "shell/window_proc.h"

namespace kestrafon {

using namespace skin;

namespace {
constexpr std::uint32_t kPanelBlack = 0xFF000000u;
constexpr Rgb kPanelText{255, 255, 255};
constexpr const char* kTrayTip = "Kestrafon";
}  // namespace

frmPlayer::frmPlayer(AppContext& ctx, const SkinImages& skin)
    : ctx_(ctx),
      face_(kFaceWidth, kFaceHeight, skin.face, skin.buttons, skin.parts),
      picTitle_(kTitlePanel.w, kTitlePanel.h, kPanelBlack),
      picTime_(kTimePanel.w, kTimePanel.h, kPanelBlack) {}

platform::FormHost& frmPlayer::host() { return ctx_.desktop.PlayerHost(); }

void frmPlayer::Form_Load() {
  // The player state and the skin-drawing object already exist in the
  // context. Add the tray icon; its double click restores the windows.
  // Whether it is there decides later whether minimising may hide the player.
  AppContext& ctx = ctx_;
  trayIconAdded_ = ctx.desktop.TrayIcon().Add(kTrayTip, [&ctx](platform::TrayEvent event) { WindowProc(ctx, event); });

  // The face's initial state, then the knob's position, then show it all.
  DrawButtonPanel();
  SetControlButtonPos();
  DrawOptionPanel();
  SetVolumeKnob(kKnobStart);
  ctx_.gPlayer.VolumePos(kKnobStart);
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
  if (ctx_.playList.Loaded()) ctx_.playList.Unload();
}

void frmPlayer::Form_Unload() { DeleteTrayIcon(ctx_); }

void frmPlayer::Unload() {
  if (unloaded_) return;
  Form_QueryUnload();
  Form_Unload();
  unloaded_ = true;
  host().SetVisible(false);
  ctx_.desktop.Quit();
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
  ctx_.text.DrawText(picTitle_, x, y, text, kPanelText);
  titleDirty_ = true;
}

void frmPlayer::TextOutTime(int x, int y, std::string_view text) {
  ctx_.text.DrawText(picTime_, x, y, text, kPanelText);
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
