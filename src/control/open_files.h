#pragma once
// Handing the player files from outside its open dialog (the command line,
// a second launch, the desktop's OpenUri, a drop on a window): each is added
// as the Add button adds a dialog's choice, through the control surface.
#include <cstdint>
#include <string>
#include <vector>

#include "control/player_control.h"
#include "control/window_commands.h"

namespace kestrafon {

// The selection texts the open dialog would have answered for these full
// paths, in order: a run of files from one directory becomes one multiple
// selection (the directory, then the names, NUL-separated), a lone file its
// full path.
std::vector<std::string> SelectionTexts(const std::vector<std::string>& paths);

// Adds the files in order (playlist files read as playlists) and repaints
// the rows; returns the number of entries appended.
std::int32_t AddFiles(PlayerControl& control, WindowCommands& windows, const std::vector<std::string>& paths);

// Adds the files, then plays the first entry they added. Returns whether
// anything was added.
bool AddFilesAndPlay(PlayerControl& control, WindowCommands& windows, const std::vector<std::string>& paths);

}  // namespace kestrafon
