#include "platform/qt/qt_form_host.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "platform/qt/x11_window_hints.h"
#include "platform/qt/rounded_outline.h"

namespace kestrafon::platform::qt {

namespace {

int ButtonFlags(Qt::MouseButtons buttons) {
  int flags = 0;
  if (buttons & Qt::LeftButton) flags |= seam::kLeftButton;
  if (buttons & Qt::RightButton) flags |= seam::kRightButton;
  if (buttons & Qt::MiddleButton) flags |= seam::kMiddleButton;
  return flags;
}

}  // namespace

QRegion RoundedRegion(int width, int height, int ellipseW, int ellipseH) {
  QRegion region;
  for (const OutlineRect& r : RoundedOutline(width, height, ellipseW, ellipseH))
    region += QRect(r.x, r.y, r.width, r.height);
  return region;
}

std::vector<std::string> DroppedLocalFiles(const QList<QUrl>& urls) {
  std::vector<std::string> paths;
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (!QFileInfo(path).isFile()) continue;
    paths.push_back(QFile::encodeName(path).toStdString());
  }
  return paths;
}

seam::Key KeyFromQt(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return seam::Key::Enter;
    case Qt::Key_PageUp: return seam::Key::PageUp;
    case Qt::Key_PageDown: return seam::Key::PageDown;
    case Qt::Key_Up: return seam::Key::Up;
    case Qt::Key_Down: return seam::Key::Down;
    default: return seam::Key::Other;
  }
}

QtFormHost::QtFormHost(const FormHostOptions& options)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      options_(options),
      presented_(options.width, options.height, QImage::Format_RGB32) {
  setWindowTitle(QStringLiteral("Form1"));
  setFixedSize(options.width, options.height);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  // The face covers every pixel: no background fill before each paint.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  presented_.fill(Qt::black);
  // Off the X11 taskbar through hints; elsewhere a tool window is the nearest thing.
  if (options.skipTaskbar && QGuiApplication::platformName() != QLatin1String("xcb")) {
    setWindowFlag(Qt::Tool, true);
  }
}

QtFormHost::~QtFormHost() {
  if (dragLoop_) dragLoop_->quit();
}

void QtFormHost::SetVisible(bool visible) {
  if (visible && !placed_) {
    placed_ = true;
    if (options_.centred) {
      if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
      }
    }
  }
  // A minimise followed straight away by a hide (into the tray) only hides:
  // an iconify request still on its way would leave the window manager
  // holding an icon that the next show does not bring back.
  if (!visible) minimisePending_ = false;
  setVisible(visible);
}

void QtFormHost::SetWindowState(seam::WindowState state) {
  if (state == seam::WindowState::Minimised) {
    // Passed on once the current command is done, unless a hide came first.
    minimisePending_ = true;
    QTimer::singleShot(0, this, [this] {
      if (!minimisePending_) return;
      minimisePending_ = false;
      setWindowState(windowState() | Qt::WindowMinimized);
    });
  } else {
    minimisePending_ = false;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    if (isVisible()) {
      raise();
      activateWindow();
    }
  }
}

void QtFormHost::Present(const Image& face, Rect dirty) {
  const Rect copied = CopyToPixels(face, dirty, reinterpret_cast<std::uint32_t*>(presented_.bits()),
                                   presented_.width(), presented_.height(), int(presented_.bytesPerLine() / 4));
  if (copied.w > 0) update(QRect(copied.x, copied.y, copied.w, copied.h));
}

void QtFormHost::SetRoundedRegion(int width, int height, int ellipseW, int ellipseH) {
  setMask(RoundedRegion(width, height, ellipseW, ellipseH));
}

void QtFormHost::SetTopMost(bool topMost) {
  topMost_ = topMost;
  if (HaveX11WindowStates()) {
    // Through the window manager: a changed stays-on-top flag would make Qt
    // replace the native window at its next show, losing the states set on
    // the old one. A hidden window gets it with the others when it shows.
    if (isVisible()) RequestAbove(*this, topMost);
  } else {
    // Through the native window, so a shown window changes its stacking in
    // place instead of being hidden and mapped again.
    if (!windowHandle()) create();
    windowHandle()->setFlag(Qt::WindowStaysOnTopHint, topMost);
  }
  SetVisible(true);
  if (topMost) raise();
}

seam::Point QtFormHost::Position() const {
  const QPoint at = frameGeometry().topLeft();
  return {at.x(), at.y()};
}

seam::Point QtFormHost::OuterSize() const {
  const QSize size = frameGeometry().size();
  return {size.width(), size.height()};
}

void QtFormHost::Move(seam::Point topLeft) { move(topLeft.x, topLeft.y); }

void QtFormHost::DragMove() {
  // Nothing to follow when the button is already up (or never was down).
  if (dragLoop_ || QGuiApplication::mouseButtons() == Qt::NoButton) return;
  QEventLoop loop;
  dragLoop_ = &loop;
  dragStartCursor_ = QCursor::pos();
  dragStartWindow_ = pos();
  grabMouse();
  loop.exec();  // timer ticks and repaints run in here
  releaseMouse();
  dragLoop_ = nullptr;
}

void QtFormHost::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // Whole-factor HiDPI scaling stays nearest-neighbour: no smoothing hint.
  const QRect area = event->rect();
  painter.drawImage(area, presented_, area);
  if (!firstPaintDone_) {
    firstPaintDone_ = true;
    if (options_.onFirstPaint) options_.onFirstPaint(presented_);
  }
}

void QtFormHost::mousePressEvent(QMouseEvent* event) {
  if (dragLoop_ || !sink_) return;
  sink_->OnMouseDown(ButtonFlags(event->button()), event->position().x(), event->position().y());
}

void QtFormHost::mouseMoveEvent(QMouseEvent* event) {
  if (dragLoop_) {
    move(dragStartWindow_ + event->globalPosition().toPoint() - dragStartCursor_);
    return;
  }
  if (sink_) sink_->OnMouseMove(ButtonFlags(event->buttons()), event->position().x(), event->position().y());
}

void QtFormHost::mouseReleaseEvent(QMouseEvent* event) {
  if (dragLoop_) {
    // The release that ends the move belongs to the move.
    if (event->buttons() == Qt::NoButton) dragLoop_->quit();
    return;
  }
  if (sink_) sink_->OnMouseUp(ButtonFlags(event->button()), event->position().x(), event->position().y());
}

std::optional<seam::MediaKey> MediaKeyFromQt(int qtKey) {
  switch (qtKey) {
    case Qt::Key_MediaTogglePlayPause: return seam::MediaKey::PlayPause;
    case Qt::Key_MediaPlay: return seam::MediaKey::Play;
    case Qt::Key_MediaPause: return seam::MediaKey::Pause;
    case Qt::Key_MediaStop: return seam::MediaKey::Stop;
    case Qt::Key_MediaNext: return seam::MediaKey::Next;
    case Qt::Key_MediaPrevious: return seam::MediaKey::Previous;
    default: return std::nullopt;
  }
}

void QtFormHost::keyPressEvent(QKeyEvent* event) {
  // Media keys the desktop did not take for itself (MPRIS gets the rest).
  if (const std::optional<seam::MediaKey> media = MediaKeyFromQt(event->key())) {
    if (onMediaKey_) onMediaKey_(*media);
    return;
  }
  if (sink_) sink_->OnKeyDown(KeyFromQt(event->key()));
}

void QtFormHost::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ReportResize();
}

void QtFormHost::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Every map: a window manager drops the states of a withdrawn window.
  SetStatesBeforeMap(*this, options_.skipTaskbar, topMost_);
  ReportResize();
}

void QtFormHost::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) ReportResize();
}

void QtFormHost::closeEvent(QCloseEvent* event) {
  // The core decides; a window that stays open ignores the request.
  event->ignore();
  if (sink_) sink_->OnCloseRequested();
}

void QtFormHost::SetFilesDroppedHandler(seam::FilesDroppedHandler handler) {
  onFilesDropped_ = std::move(handler);
  setAcceptDrops(bool(onFilesDropped_));
}

void QtFormHost::dragEnterEvent(QDragEnterEvent* event) {
  // Only something that holds local files is taken; the rest is refused here.
  if (onFilesDropped_ && event->mimeData()->hasUrls() && !DroppedLocalFiles(event->mimeData()->urls()).empty()) {
    event->acceptProposedAction();
  }
}

void QtFormHost::dropEvent(QDropEvent* event) {
  if (!onFilesDropped_ || !event->mimeData()->hasUrls()) return;
  const std::vector<std::string> paths = DroppedLocalFiles(event->mimeData()->urls());
  if (paths.empty()) return;
  event->acceptProposedAction();
  // A copy: the handler may unload this very window.
  const seam::FilesDroppedHandler handler = onFilesDropped_;
  handler(paths);
}

void QtFormHost::ReportResize() {
  if (sink_) sink_->OnResize();
}

}  // namespace kestrafon::platform::qt
