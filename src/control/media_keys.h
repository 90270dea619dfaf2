#pragma once
// The keyboard's media keys and the desktop's media buttons, on the control
// surface: the same rules on every system and for MPRIS. Whatever the face
// would refuse does nothing.
#include "control/player_control.h"
#include "seam/desktop.h"

namespace kestrafon {

using seam::MediaKey;

// Runs the key's command. Play resumes a paused track (through the face's
// pause toggle) and leaves a playing one alone; Pause presses the toggle
// again where the face's inverted toggle left the track running.
void PressMediaKey(PlayerControl& control, MediaKey key);

}  // namespace kestrafon
