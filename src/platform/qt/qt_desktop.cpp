#include "platform/qt/qt_desktop.h"

#include <QCoreApplication>

#include "platform/form_host_handle.h"
#include "skin/sheet_map.h"

namespace kestrafon::platform::qt {

namespace {

// A window without a taskbar button can only come back from the tray; where
// there is no tray it keeps its button, so a minimised player is never stranded.
bool WindowsSkipTaskbar() { return QSystemTrayIcon::isSystemTrayAvailable(); }

// The playlist window goes away from inside its own events (a key or a press
// may unload it), so the core holds this handle and Qt deletes the window
// once control is back in the event loop.
class PlaylistHost final : public FormHostHandle {
 public:
  explicit PlaylistHost(QtFormHost* window) : FormHostHandle(*window), window_(window) {}
  ~PlaylistHost() override {
    window_->SetEventSink(nullptr);
    window_->hide();
    window_->deleteLater();
  }

 private:
  QtFormHost* window_;
};

}  // namespace

QtDesktop::QtDesktop(DesktopOptions options) : options_(std::move(options)), tray_(options_.icon) {
  FormHostOptions player;
  player.width = skin::kFaceWidth;
  player.height = skin::kFaceHeight;
  player.skipTaskbar = WindowsSkipTaskbar();
  player.centred = true;
  player.onFirstPaint = options_.onPlayerFirstPaint;
  player_ = std::make_unique<QtFormHost>(player);
  player_->setWindowIcon(options_.icon);
}

QtDesktop::~QtDesktop() = default;

std::unique_ptr<FormHost> QtDesktop::CreatePlaylistHost() {
  FormHostOptions list;
  list.width = skin::kListWidth;
  list.height = skin::kListHeight;
  list.skipTaskbar = WindowsSkipTaskbar();
  auto* window = new QtFormHost(list);
  window->setWindowIcon(options_.icon);
  window->SetFilesDroppedHandler(onFilesDropped_);
  return std::make_unique<PlaylistHost>(window);
}

void QtDesktop::SetFilesDroppedHandler(FilesDroppedHandler handler) {
  onFilesDropped_ = std::move(handler);
  player_->SetFilesDroppedHandler(onFilesDropped_);
}

void QtDesktop::ProcessPendingEvents() { QCoreApplication::processEvents(); }

void QtDesktop::Quit() { QCoreApplication::quit(); }

}  // namespace kestrafon::platform::qt
