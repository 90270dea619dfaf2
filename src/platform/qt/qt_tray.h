#pragma once
// The notification-area icon on QSystemTrayIcon.
#include <QIcon>
#include <QSystemTrayIcon>
#include <memory>

#include "seam/desktop.h"

namespace kestrafon::platform::qt {

class QtTray final : public seam::Tray {
 public:
  explicit QtTray(QIcon icon) : icon_(std::move(icon)) {}
  bool Add(const std::string& tip, std::function<void(seam::TrayEvent)> onEvent) override;
  void Remove() override { trayIcon_.reset(); }
  bool HasIcon() const override { return trayIcon_ && QSystemTrayIcon::isSystemTrayAvailable(); }

 private:
  QIcon icon_;
  std::unique_ptr<QSystemTrayIcon> trayIcon_;
};

// What a tray activation means to the core. Trays that speak the
// StatusNotifierItem protocol never report a double click; there a single
// activation stands for it.
seam::TrayEvent TrayEventFromActivation(QSystemTrayIcon::ActivationReason reason, bool reportsDoubleClicks);

// Whether the desktop's tray reports double clicks (an XEmbed tray does, a
// StatusNotifierItem host does not).
bool TrayReportsDoubleClicks();

}  // namespace kestrafon::platform::qt
