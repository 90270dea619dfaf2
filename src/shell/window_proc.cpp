#include "shell/window_proc.h"

#include "app/app_context.h"

namespace kestrafon {

void WindowProc(AppContext& ctx, platform::TrayEvent event) {
  if (event != platform::TrayEvent::LeftDoubleClick || ctx.player.Unloaded()) return;
  platform::FormHost& host = ctx.player.host();
  host.SetVisible(true);
  host.SetWindowState(platform::WindowState::Normal);
  ctx.player.face().MarkDirty({0, 0, skin::kFaceWidth, skin::kFaceHeight});
  ctx.player.Refresh();
  if (ctx.playList.Loaded()) ctx.playList.SetVisible(true);
}

void DeleteTrayIcon(AppContext& ctx) { ctx.desktop.TrayIcon().Remove(); }

}  // namespace kestrafon
