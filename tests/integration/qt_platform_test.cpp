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

#include "fakes/recording_form_sink.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_form_host.h"
#include "platform/qt/qt_tick_source.h"
#include "platform/qt/qt_tray.h"

namespace {

using namespace kestrafon;
using namespace kestrafon::platform;
using namespace kestrafon::platform::qt;

using RecordingSink = kestrafon::fakes::RecordingFormSink;

FormHostOptions PlayerSized() {
  FormHostOptions options;
  options.width = 303;
  options.height = 202;
  return options;
}

void SendMouse(QWidget& window, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent event(type, at, window.mapToGlobal(at), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(&window, &event);
}

// The outline itself is tested in the core; here only that Qt gets all of it.
TEST(RoundedOutline, BecomesAQtRegionWithTheCornersCut) {
  const QRegion region = RoundedRegion(303, 202, 20, 20);
  for (const QPoint corner : {QPoint(0, 0), QPoint(302, 0), QPoint(0, 201), QPoint(302, 201)})
    EXPECT_FALSE(region.contains(corner)) << corner.x() << "," << corner.y();
  for (const QPoint edge : {QPoint(10, 0), QPoint(0, 10), QPoint(151, 101), QPoint(292, 201)})
    EXPECT_TRUE(region.contains(edge)) << edge.x() << "," << edge.y();
  EXPECT_TRUE(RoundedRegion(0, 10, 20, 20).isEmpty());
}

TEST(FormHost, PresentCopiesOnlyTheDirtyRectangleAndClipsTheRest) {
  QtFormHost window(PlayerSized());
  Image face(303, 202, 0xFF112233u);
  window.Present(face, {10, 20, 5, 4});
  EXPECT_EQ(window.presented().pixel(10, 20), 0xFF112233u);
  EXPECT_EQ(window.presented().pixel(14, 23), 0xFF112233u);
  EXPECT_EQ(window.presented().pixel(15, 23), 0xFF000000u);
  EXPECT_EQ(window.presented().pixel(14, 24), 0xFF000000u);

  face.SetPixel(302, 201, 0xFFABCDEFu);
  window.Present(face, {300, 199, 50, 50});  // reaches past the window
  EXPECT_EQ(window.presented().pixel(302, 201), 0xFFABCDEFu);
  window.Present(Image(10, 10, 0xFFFFFFFFu), {0, 0, 303, 202});  // a smaller face
  EXPECT_EQ(window.presented().pixel(9, 9), 0xFFFFFFFFu);
  EXPECT_EQ(window.presented().pixel(10, 10), 0xFF000000u);
  window.Present(face, {-5, -5, 0, 0});
}

TEST(FormHost, ReportsMouseKeysAndCloseInFacePixels) {
  QtFormHost window(PlayerSized());
  RecordingSink sink;
  window.SetEventSink(&sink);
  SendMouse(window, QEvent::MouseButtonPress, {150.0, 160.0}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(window, QEvent::MouseMove, {151.0, 161.0}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
  SendMouse(window, QEvent::MouseButtonRelease, {152.0, 162.0}, Qt::RightButton, Qt::LeftButton);
  QKeyEvent page(QEvent::KeyPress, Qt::Key_PageDown, Qt::ShiftModifier);
  QApplication::sendEvent(&window, &page);
  QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
  QApplication::sendEvent(&window, &letter);
  QCloseEvent close;
  QApplication::sendEvent(&window, &close);

  const std::vector<std::string> expected = {"down 1 150,160", "move 3 151,161", "up 2 152,162",
                                             "key " + std::to_string(int(Key::PageDown)),
                                             "key " + std::to_string(int(Key::Other)), "close"};
  EXPECT_EQ(sink.events, expected);
  // Closing is the core's decision: the window refuses on its own.
  EXPECT_FALSE(close.isAccepted());

  window.SetEventSink(nullptr);
  SendMouse(window, QEvent::MouseButtonPress, {1.0, 1.0}, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(sink.events.size(), expected.size());
}

TEST(FormHost, KeysMapToTheListKeysWhateverTheModifiers) {
  EXPECT_EQ(KeyFromQt(Qt::Key_Return), Key::Enter);
  EXPECT_EQ(KeyFromQt(Qt::Key_Enter), Key::Enter);
  EXPECT_EQ(KeyFromQt(Qt::Key_PageUp), Key::PageUp);
  EXPECT_EQ(KeyFromQt(Qt::Key_Up), Key::Up);
  EXPECT_EQ(KeyFromQt(Qt::Key_Down), Key::Down);
  EXPECT_EQ(KeyFromQt(Qt::Key_Space), Key::Other);
  EXPECT_EQ(KeyFromQt(Qt::Key_Home), Key::Other);
}

TEST(FormHost, ShowsMovesMinimisesAndStaysOnTop) {
  QtFormHost window(PlayerSized());
  RecordingSink sink;
  window.SetEventSink(&sink);
  EXPECT_FALSE(window.IsVisible());
  window.SetVisible(true);
  EXPECT_TRUE(window.IsVisible());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Form1"));
  EXPECT_EQ(window.OuterSize(), (Point{303, 202}));
  EXPECT_NE(std::find(sink.events.begin(), sink.events.end(), "resize"), sink.events.end());

  window.Move({40, 50});
  EXPECT_EQ(window.Position(), (Point{40, 50}));

  QCoreApplication::processEvents();
  sink.events.clear();
  window.SetWindowState(WindowState::Minimised);
  QCoreApplication::processEvents();
  EXPECT_TRUE(window.isMinimized());
  EXPECT_EQ(std::count(sink.events.begin(), sink.events.end(), "resize"), 1);
  window.SetWindowState(WindowState::Normal);
  EXPECT_FALSE(window.isMinimized());
  // Into the tray: the hide overtakes the minimise, so no icon is left behind.
  window.SetWindowState(WindowState::Minimised);
  window.SetVisible(false);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window.isMinimized());
  window.SetVisible(true);

  window.SetRoundedRegion(303, 202, 20, 20);
  EXPECT_FALSE(window.mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(window.mask().contains(QPoint(150, 100)));

  window.SetVisible(false);
  window.SetTopMost(true);  // also shows a hidden window
  EXPECT_TRUE(window.IsVisible());
  EXPECT_TRUE(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
  window.SetTopMost(false);
  EXPECT_FALSE(window.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(window.IsVisible());
  window.SetEventSink(nullptr);
}

TEST(FormHost, DragWithoutAPressedButtonReturnsAtOnce) {
  QtFormHost window(PlayerSized());
  window.SetVisible(true);
  window.Move({10, 10});
  window.DragMove();  // would otherwise wait for a release that never comes
  EXPECT_EQ(window.Position(), (Point{10, 10}));
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
  EXPECT_EQ(TrayEventFromActivation(QSystemTrayIcon::DoubleClick, true), TrayEvent::LeftDoubleClick);
  EXPECT_EQ(TrayEventFromActivation(QSystemTrayIcon::Trigger, true), TrayEvent::Other);
  EXPECT_EQ(TrayEventFromActivation(QSystemTrayIcon::Trigger, false), TrayEvent::LeftDoubleClick);
  EXPECT_EQ(TrayEventFromActivation(QSystemTrayIcon::Context, false), TrayEvent::Other);
  EXPECT_EQ(TrayEventFromActivation(QSystemTrayIcon::MiddleClick, false), TrayEvent::Other);
}

TEST(TrayIcon, WithoutATrayAddingReportsFailure) {
  if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "this desktop has a tray";
  QtTray tray{QIcon()};
  EXPECT_FALSE(tray.Available());
  EXPECT_FALSE(tray.Add("Kestrafon", [](TrayEvent) {}));
  tray.Remove();
}

TEST(FileDialogFilters, KeepDescriptionsThatNameTheirPatterns) {
  const QStringList open = QtNameFilters("mp3(*.mp3)|*.mp3|KFLﾌｧｲﾙ (*.kfl)|*.kfl");
  EXPECT_EQ(open, (QStringList{QStringLiteral("mp3(*.mp3)"), QStringLiteral("KFLﾌｧｲﾙ (*.kfl)")}));
  EXPECT_EQ(QtNameFilters("Music|*.mp3;*.wav"), QStringList{QStringLiteral("Music (*.mp3 *.wav)")});
  EXPECT_TRUE(QtNameFilters("").isEmpty());
  EXPECT_TRUE(QtNameFilters("dangling description").isEmpty());
}

TEST(FileDialogSelection, OneFileIsAFullPathSeveralAreDirectoryThenNames) {
  EXPECT_EQ(SelectionText({QStringLiteral("/music/a b.mp3")}), "/music/a b.mp3");
  EXPECT_EQ(SelectionText({QStringLiteral("/music/a.mp3"), QStringLiteral("/music/曲.kfl")}),
            std::string("/music\0a.mp3\0曲.kfl", 20));
  EXPECT_EQ(SelectionText({QStringLiteral("/a.mp3"), QStringLiteral("/b.mp3")}), std::string("/\0a.mp3\0b.mp3", 13));
  EXPECT_EQ(SelectionText({}), "");
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
