#include "platform/qt/qt_desktop.h"

#include <QCoreApplication>

#include "seam/form_host_handle.h"
#include "skin/sheet_map.h"

namespace kestrafon::platform::qt {

namespace {

// A window without a taskbar button can only come back from the tray; where
// there is no tray it keeps its button, so a minimised player is never stranded.
bool WindowsSkipTaskbar() { return QSystemTrayIcon::isSystemTrayAvailable(); }

}  // namespace

QtDesktop::QtDesktop(DesktopOptions options) : options_(std::move(options)), tray_(options_.icon) {
  FormHostOptions player;
  player.width = skin::kFaceWidth;
  player.height = skin::kFaceHeight;
  player.skipTaskbar = WindowsSkipTaskbar();
  player.centred = true;
  player.onFirstPaint = [this](const QImage& face) {
    if (!options_.firstFacePath.isEmpty()) face.save(options_.firstFacePath, "PNG");
    if (onFirstPaint_) onFirstPaint_();
  };
  player_ = std::make_unique<QtFormHost>(player);
  player_->setWindowIcon(options_.icon);
}

QtDesktop::~QtDesktop() = default;

std::unique_ptr<seam::FormHost> QtDesktop::CreatePlaylistHost() {
  FormHostOptions list;
  list.width = skin::kListWidth;
  list.height = skin::kListHeight;
  list.skipTaskbar = WindowsSkipTaskbar();
  auto* window = new QtFormHost(list);
  window->setWindowIcon(options_.icon);
  window->SetFilesDroppedHandler(onFilesDropped_);
  window->SetMediaKeyHandler(onMediaKey_);
  // The playlist window goes away from inside its own events (a key or a
  // press may unload it): Qt deletes it once control is back in the event loop.
  return std::make_unique<seam::FormHostHandle>(*window, [window] { window->deleteLater(); });
}

void QtDesktop::SetFilesDroppedHandler(seam::FilesDroppedHandler handler) {
  onFilesDropped_ = std::move(handler);
  player_->SetFilesDroppedHandler(onFilesDropped_);
}

void QtDesktop::SetMediaKeyHandler(std::function<void(seam::MediaKey)> handler) {
  onMediaKey_ = std::move(handler);
  player_->SetMediaKeyHandler(onMediaKey_);
}

void QtDesktop::ProcessPendingEvents() { QCoreApplication::processEvents(); }

void QtDesktop::Quit() { QCoreApplication::quit(); }

}  // namespace kestrafon::platform::qt
