#pragma once
// A borderless top-level window that shows one retained face. It keeps a
// copy of the face, repaints only what changed, scales it by whole factors
// on HiDPI screens and reports mouse, keys and state changes to the core in
// face pixels.
#include <QImage>
#include <functional>
#include <QList>
#include <QPoint>
#include <QUrl>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "seam/desktop.h"
#include "seam/form_host.h"

class QEventLoop;

namespace kestrafon::platform::qt {

struct FormHostOptions {
  int width = 0, height = 0;  // client area in face pixels
  bool skipTaskbar = true;    // false where nothing else could bring a minimised window back
  bool centred = false;       // centred on the screen when first shown
  // Called once, after the window first painted itself.
  std::function<void(const QImage&)> onFirstPaint;
};

class QtFormHost final : public QWidget, public seam::FormHost {
 public:
  explicit QtFormHost(const FormHostOptions& options);
  ~QtFormHost() override;

  void SetEventSink(seam::FormEventSink* sink) override { sink_ = sink; }
  void SetVisible(bool visible) override;
  bool IsVisible() const override { return isVisible(); }
  void SetWindowState(seam::WindowState state) override;
  void Present(const Image& face, Rect dirty) override;
  void SetRoundedRegion(int width, int height, int ellipseW, int ellipseH) override;
  void SetTopMost(bool topMost) override;
  seam::Point Position() const override;
  seam::Point OuterSize() const override;
  void Move(seam::Point topLeft) override;
  void DragMove() override;

  // Where local files dropped on the window go; without a handler drops are refused.
  void SetFilesDroppedHandler(seam::FilesDroppedHandler handler);
  // Where media keys pressed while the window is active go.
  void SetMediaKeyHandler(std::function<void(seam::MediaKey)> handler) { onMediaKey_ = std::move(handler); }

  // What the window shows, in face pixels.
  const QImage& presented() const { return presented_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void ReportResize();

  FormHostOptions options_;
  seam::FormEventSink* sink_ = nullptr;
  seam::FilesDroppedHandler onFilesDropped_;
  std::function<void(seam::MediaKey)> onMediaKey_;
  QImage presented_;
  bool placed_ = false;
  bool topMost_ = false;
  bool firstPaintDone_ = false;
  // A minimise asked for but not yet passed on to the window manager.
  bool minimisePending_ = false;
  // The move loop: where the press was, where the window was then.
  QEventLoop* dragLoop_ = nullptr;
  QPoint dragStartCursor_, dragStartWindow_;
};

// The outline of a w x h rectangle with corners cut by a ew x eh ellipse
// (the core's RoundedOutline as a Qt region).
QRegion RoundedRegion(int width, int height, int ellipseW, int ellipseH);

// The local files (not folders) among dropped URLs, in order, as file-system paths.
std::vector<std::string> DroppedLocalFiles(const QList<QUrl>& urls);

// The core's key for a Qt key code.
seam::Key KeyFromQt(int qtKey);
// The media key for a Qt key; nothing for any other key.
std::optional<seam::MediaKey> MediaKeyFromQt(int qtKey);

}  // namespace kestrafon::platform::qt
