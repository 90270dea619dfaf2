#include "platform/qt/qt_tray.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace kestrafon::platform::qt {

seam::TrayEvent TrayEventFromActivation(QSystemTrayIcon::ActivationReason reason, bool reportsDoubleClicks) {
  if (reason == QSystemTrayIcon::DoubleClick) return seam::TrayEvent::LeftDoubleClick;
  if (reason == QSystemTrayIcon::Trigger && !reportsDoubleClicks) return seam::TrayEvent::LeftDoubleClick;
  return seam::TrayEvent::Other;
}

bool TrayReportsDoubleClicks() {
  // Qt prefers a StatusNotifierItem host when one is registered on the session bus.
  const QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface()) return true;
  return !bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value();
}

bool QtTray::Add(const std::string& tip, std::function<void(seam::TrayEvent)> onEvent) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
  trayIcon_ = std::make_unique<QSystemTrayIcon>(icon_);
  trayIcon_->setToolTip(QString::fromStdString(tip));
  const bool doubleClicks = TrayReportsDoubleClicks();
  QObject::connect(trayIcon_.get(), &QSystemTrayIcon::activated,
                   [onEvent = std::move(onEvent), doubleClicks](QSystemTrayIcon::ActivationReason reason) {
                     if (onEvent) onEvent(TrayEventFromActivation(reason, doubleClicks));
                   });
  trayIcon_->show();
  return true;
}

}  // namespace kestrafon::platform::qt
