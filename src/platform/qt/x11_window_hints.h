#pragma once
// Window-manager states Qt has no call for, or sets only by making a new
// native window (which loses the rest): off the taskbar and the pager, and
// above other windows.
class QWidget;

namespace kestrafon::platform::qt {

// Whether the calls below reach a window manager (the xcb platform).
bool HaveX11WindowStates();

// The window's states for when it is next mapped: call from its show event,
// before the map. Keeps whatever else is already in the property.
void SetStatesBeforeMap(QWidget& window, bool skipTaskbar, bool above);

// Asks the window manager to put a mapped window above the others, or back.
void RequestAbove(QWidget& window, bool above);

}  // namespace kestrafon::platform::qt
