#include "app/window_proc.h"

#include "app/frm_player.h"

namespace kestrafon {

void WindowProc(frmPlayer& player, PlaylistWindowLink& playlist, platform::TrayEvent event) {
  if (event != platform::TrayEvent::LeftDoubleClick || player.Unloaded()) return;
  platform::FormHost& host = player.host();
  host.SetVisible(true);
  host.SetWindowState(platform::WindowState::Normal);
  player.face().MarkDirty({0, 0, skin::kFaceWidth, skin::kFaceHeight});
  player.Refresh();
  if (playlist.Loaded()) playlist.SetVisible(true);
}

void DeleteTrayIcon(platform::Desktop& desktop) { desktop.TrayIcon().Remove(); }

}  // namespace kestrafon
