#pragma once
// The desktop as the core sees it, on Qt: the player window, the playlist
// window on demand, the playback ticks, the tray and the file dialogs.
#include <QIcon>
#include <memory>

#include "seam/desktop.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_form_host.h"
#include "platform/qt/qt_tick_source.h"
#include "platform/qt/qt_tray.h"

namespace kestrafon::platform::qt {

struct DesktopOptions {
  QIcon icon;
  // Where to write what the player window first showed, as a PNG (for the
  // end-to-end tests); empty for nowhere.
  QString firstFacePath;
};

class QtDesktop final : public seam::Desktop {
 public:
  explicit QtDesktop(DesktopOptions options);
  ~QtDesktop() override;

  seam::FormHost& PlayerHost() override { return *player_; }
  std::unique_ptr<seam::FormHost> CreatePlaylistHost() override;
  seam::TickSource& Ticks() override { return ticks_; }
  seam::Tray& TrayIcon() override { return tray_; }
  seam::FileDialogs& Dialogs() override { return dialogs_; }
  void SetFirstPaintHandler(std::function<void()> handler) override { onFirstPaint_ = std::move(handler); }
  void SetFilesDroppedHandler(seam::FilesDroppedHandler handler) override;
  void SetMediaKeyHandler(std::function<void(seam::MediaKey)> handler) override;
  void ProcessPendingEvents() override;
  void Quit() override;

  QtFormHost& playerWindow() { return *player_; }
  QtTickSource& tickSource() { return ticks_; }

 private:
  DesktopOptions options_;
  QtTickSource ticks_;
  QtTray tray_;
  QtFileDialogs dialogs_;
  std::unique_ptr<QtFormHost> player_;
  seam::FilesDroppedHandler onFilesDropped_;
  std::function<void(seam::MediaKey)> onMediaKey_;
  std::function<void()> onFirstPaint_;
};

}  // namespace kestrafon::platform::qt
