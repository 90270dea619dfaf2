#pragma once
// The tray side of the player: restoring the windows from the tray icon and
// removing the icon at shut-down.
#include "app/playlist_window_link.h"
#include "platform/desktop.h"

namespace kestrafon {

class frmPlayer;

// Handles a tray notification: a left double click restores the player
// (and the playlist window when it is loaded). Other events do nothing.
void WindowProc(frmPlayer& player, PlaylistWindowLink& playlist, platform::TrayEvent event);
void DeleteTrayIcon(platform::Desktop& desktop);

}  // namespace kestrafon
