#pragma once
// Moves a borderless window with the mouse from any point of its face.
#include "platform/form_host.h"

namespace kestrafon {

// Returns only after the button is released; that release is swallowed, and
// timer ticks go on running while the window moves.
inline void DragWindow(platform::FormHost& window) { window.DragMove(); }

}  // namespace kestrafon
