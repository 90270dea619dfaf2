// The Qt side of the windows, ticks, tray and dialogs on the offscreen
// platform: what the core hands over arrives unchanged, and what the window
// system reports reaches the core in face pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <string>
#include <vector>

#include "contracts/form_host_contract.h"
#include "fakes/recording_form_sink.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_form_host.h"
#include "platform/qt/qt_tick_source.h"
#include "platform/qt/qt_tray.h"

namespace {

using namespace kestrafon;
using namespace kestrafon::seam;
using namespace kestrafon::platform::qt;

using RecordingSink = kestrafon::fakes::RecordingFormSink;

FormHostOptions PlayerSized() {
  FormHostOptions options;
  options.width = 303;
  options.height = 202;
  return options;
}

Qt::MouseButtons QtButtons(int flags) {
  Qt::MouseButtons buttons;
  if (flags & seam::kLeftButton) buttons |= Qt::LeftButton;
  if (flags & seam::kRightButton) buttons |= Qt::RightButton;
  if (flags & seam::kMiddleButton) buttons |= Qt::MiddleButton;
  return buttons;
}

void SendMouse(QWidget& window, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, window.mapToGlobal(at), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(&window, &event);
}

// The form-host contract on Qt's offscreen platform.
struct QtWindows {
  using Host = QtFormHost;
  static std::unique_ptr<Host> Make() { return std::make_unique<QtFormHost>(PlayerSized()); }
  static std::uint32_t Shown(Host& h, int x, int y) { return h.presented().pixel(x, y); }
  static bool InOutline(Host& h, int x, int y) { return h.mask().contains(QPoint(x, y)); }
  static bool TopMost(Host& h) { return h.windowHandle()->flags() & Qt::WindowStaysOnTopHint; }
  static bool Minimised(Host& h) { return h.isMinimized(); }
  static std::string Title(Host& h) { return h.windowTitle().toStdString(); }
  static void Press(Host& h, int button, int x, int y) {
    const Qt::MouseButton b = Qt::MouseButton(int(QtButtons(button)));
    SendMouse(h, QEvent::MouseButtonPress, QPointF(x, y), b, b);
  }
  static void Move(Host& h, int buttons, int x, int y) {
    SendMouse(h, QEvent::MouseMove, QPointF(x, y), Qt::NoButton, QtButtons(buttons));
  }
  static void Release(Host& h, int button, int x, int y) {
    SendMouse(h, QEvent::MouseButtonRelease, QPointF(x, y), Qt::MouseButton(int(QtButtons(button))), Qt::NoButton);
  }
  static void KeyDown(Host& h, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::ShiftModifier);  // modifiers never matter
    QApplication::sendEvent(&h, &event);
  }
  static inline const std::vector<std::pair<int, seam::Key>> kKeys{
      {Qt::Key_Return, seam::Key::Enter}, {Qt::Key_Enter, seam::Key::Enter}, {Qt::Key_PageUp, seam::Key::PageUp},
      {Qt::Key_PageDown, seam::Key::PageDown}, {Qt::Key_Up, seam::Key::Up}, {Qt::Key_Down, seam::Key::Down},
      {Qt::Key_Space, seam::Key::Other}, {Qt::Key_A, seam::Key::Other}};
  static void RequestClose(Host& h) {
    QCloseEvent close;
    QApplication::sendEvent(&h, &close);
  }
  static void Settle() { QCoreApplication::processEvents(); }
};

}  // namespace

namespace kestrafon::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, FormHostContract, QtWindows);
}  // namespace kestrafon::contracts

namespace {

using namespace kestrafon;
using namespace kestrafon::seam;
using namespace kestrafon::platform::qt;
using RecordingSink = kestrafon::fakes::RecordingFormSink;

TEST(FormHost, AMinimiseOvertakenByAHideLeavesNoMinimisedWindow) {
  QtFormHost window(PlayerSized());
  RecordingSink sink;
  window.SetEventSink(&sink);
  window.SetVisible(true);
  QCoreApplication::processEvents();
  sink.events.clear();
  window.SetWindowState(seam::WindowState::Minimised);
  QCoreApplication::processEvents();
  EXPECT_EQ(std::count(sink.events.begin(), sink.events.end(), "resize"), 1);
  window.SetWindowState(seam::WindowState::Normal);
  // Into the tray: the hide overtakes the minimise, so no icon is left behind.
  window.SetWindowState(seam::WindowState::Minimised);
  window.SetVisible(false);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window.isMinimized());
  window.SetEventSink(nullptr);
}

TEST(FormHost, DragWithoutAPressedButtonReturnsAtOnce) {
  QtFormHost window(PlayerSized());
  window.SetVisible(true);
  window.Move({10, 10});
  window.DragMove();  // would otherwise wait for a release that never comes
  EXPECT_EQ(window.Position(), (seam::Point{10, 10}));
}

TEST(TickSource, AnIntervalOfZeroNeverTicks) {
  QtTickSource ticks;
  int count = 0;
  ticks.SetHandler([&count] { ++count; });
  ticks.Arm(0);
  EXPECT_FALSE(ticks.Armed());
  ticks.Arm(5);
  EXPECT_TRUE(ticks.Armed());
  EXPECT_EQ(ticks.IntervalMs(), 5);
  QElapsedTimer clock;
  clock.start();
  while (count < 2 && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  EXPECT_GE(count, 2);
  ticks.Arm(0);
  EXPECT_FALSE(ticks.Armed());
  const int stopped = count;
  clock.restart();
  while (clock.elapsed() < 30) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(count, stopped);
}

TEST(TrayActivation, DoubleClickRestoresAndSingleActivationOnlyWhereNoDoubleClickComes) {
  EXPECT_EQ(TrayEventFromActivation(QSystemTrayIcon::DoubleClick, true), seam::TrayEvent::LeftDoubleClick);
  EXPECT_EQ(TrayEventFromActivation(QSystemTrayIcon::Trigger, true), seam::TrayEvent::Other);
  EXPECT_EQ(TrayEventFromActivation(QSystemTrayIcon::Trigger, false), seam::TrayEvent::LeftDoubleClick);
  EXPECT_EQ(TrayEventFromActivation(QSystemTrayIcon::Context, false), seam::TrayEvent::Other);
  EXPECT_EQ(TrayEventFromActivation(QSystemTrayIcon::MiddleClick, false), seam::TrayEvent::Other);
}

TEST(TrayIcon, WithoutATrayAddingReportsFailure) {
  if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "this desktop has a tray";
  QtTray tray{QIcon()};
  EXPECT_FALSE(tray.HasIcon());
  EXPECT_FALSE(tray.Add("Kestrafon", [](seam::TrayEvent) {}));
  tray.Remove();
}

TEST(FileDialogFilters, KeepDescriptionsThatNameTheirPatterns) {
  const QStringList open = QtNameFilters("mp3(*.mp3)|*.mp3|KFLﾌｧｲﾙ (*.kfl)|*.kfl");
  EXPECT_EQ(open, (QStringList{QStringLiteral("mp3(*.mp3)"), QStringLiteral("KFLﾌｧｲﾙ (*.kfl)")}));
  EXPECT_EQ(QtNameFilters("Music|*.mp3;*.wav"), QStringList{QStringLiteral("Music (*.mp3 *.wav)")});
  EXPECT_TRUE(QtNameFilters("").isEmpty());
  EXPECT_TRUE(QtNameFilters("dangling description").isEmpty());
}

}  // namespace

namespace {

TEST(MessageBox, IsAModalWarningWithTheTextAndAnOkButton) {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool modal = false;
  QMessageBox::StandardButtons buttons;
  // Read the box once it is up, then press its OK button.
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    modal = box->isModal();
    buttons = box->standardButtons();
    box->button(QMessageBox::Ok)->click();
  });
  QtFileDialogs dialogs;
  dialogs.ShowMessage("保存できませんでした", "/tmp/曲.kfl\n理由");
  EXPECT_EQ(title, QStringLiteral("保存できませんでした"));
  EXPECT_EQ(text, QStringLiteral("/tmp/曲.kfl\n理由"));
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_TRUE(modal);
  EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

}  // namespace
