#pragma once
// Handing the player files from outside its open dialog (the command line,
// a second launch, the desktop's OpenUri, a drop on a window): they are
// added as the Add button adds a dialog's choice, through the control
// surface, and the rows are repainted as after Add.
#include <cstdint>
#include <string>
#include <vector>

#include "control/player_control.h"
#include "control/window_commands.h"

namespace kestrafon {

// Adds the files in order (playlist files read as playlists) and repaints
// the rows; returns the number of entries appended.
std::int32_t AddFilesAndRepaint(PlayerControl& control, WindowCommands& windows,
                                const std::vector<std::string>& paths);

// Adds the files, then plays the first entry they added. Returns whether
// anything was added.
bool AddFilesAndPlay(PlayerControl& control, WindowCommands& windows, const std::vector<std::string>& paths);

}  // namespace kestrafon
