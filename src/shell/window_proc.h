#pragma once
// The tray side of the player: restoring the windows from the tray icon and
// removing the icon at shut-down.
#include "platform/desktop.h"

namespace kestrafon {

class AppContext;

// Handles a tray notification: a left double click restores the player
// (and the playlist window when it is loaded). Other events do nothing.
void WindowProc(AppContext& ctx, platform::TrayEvent event);
void DeleteTrayIcon(AppContext& ctx);

}  // namespace kestrafon
