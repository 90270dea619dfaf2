#pragma once
// Window-manager hints Qt has no call for.
class QWidget;

namespace kestrafon::platform::qt {

// Keeps the window off the taskbar and the pager. Call before the window is
// mapped (from its show event); elsewhere than on X11 it does nothing.
void SkipTaskbarBeforeMap(QWidget& window);

}  // namespace kestrafon::platform::qt
