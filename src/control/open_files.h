#pragma once
// Handing the player files from outside its open dialog (the command line,
// a second launch, the desktop's OpenUri, a drop on a window): they are
// added as the Add button adds a dialog's choice, through the control
// surface, and the rows are repainted as after Add.
#include <cstdint>
#include <string>
#include <vector>

#include "control/launch.h"
#include "control/player_control.h"
#include "control/window_commands.h"
#include "model/ui_texts.h"
#include "seam/desktop.h"

namespace kestrafon {

// Adds the files in order (playlist files read as playlists) and repaints
// the rows; returns the number of entries appended.
std::int32_t AddFilesAndRepaint(PlayerControl& control, WindowCommands& windows,
                                const std::vector<std::string>& paths);

// Adds the files, then plays the first entry they added. Returns whether
// anything was added.
bool AddFilesAndPlay(PlayerControl& control, WindowCommands& windows, const std::vector<std::string>& paths);

// Opens launches as a command line's files are opened: each one's files
// added, and played unless it only adds; a launch without files brings the
// player to the front. The files any of them left out are named once, in
// one message, at the end.
void OpenLaunches(PlayerControl& control, WindowCommands& windows, seam::FileDialogs& dialogs, const TextBook& texts,
                  const std::vector<Launch>& launches);

}  // namespace kestrafon
