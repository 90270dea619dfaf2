// The whole player on the Qt desktop (offscreen platform), with the media
// faked: the start-up state, the playlist window docked beside the player,
// the tray restore and the shut-down, as the window system sees them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QScreen>

#include "app/app_context.h"
#include "fakes/fake_platform.h"
#include "platform/qt/qt_desktop.h"

namespace {

using namespace kestrafon;
using namespace kestrafon::seam;

struct QtPlayer : ::testing::Test {
  SkinImages skin = fakes::CoordinateSkin();
  fakes::FakeMediaFramework media;
  fakes::RecordingTextRenderer text;
  platform::qt::QtDesktop desktop{{}};
  AppContext ctx{desktop, media, text, skin};

  void Start() {
    ctx.playerWindow().Load();
    desktop.PlayerHost().SetVisible(true);
  }
  platform::qt::QtFormHost& window() { return desktop.playerWindow(); }
  QWidget* PlaylistWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget != &window() && widget->size() == QSize(201, 203) && widget->isVisible()) return widget;
    }
    return nullptr;
  }
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(QtPlayer, StartsCentredWithItsFaceOutlineAndNoTicks) {
  Start();
  EXPECT_TRUE(window().isVisible());
  EXPECT_EQ(window().size(), QSize(303, 202));
  const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
  EXPECT_LE((window().geometry().center() - centre).manhattanLength(), 2);
  // The first show is a resize: the rounded outline is already there.
  EXPECT_FALSE(window().mask().isEmpty());
  EXPECT_FALSE(window().mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(window().mask().contains(QPoint(151, 101)));
  // What the window shows is the composed face, pixel for pixel.
  const Image& face = ctx.playerWindow().face().image();
  for (int y = 0; y < face.height(); y += 7) {
    for (int x = 0; x < face.width(); x += 5) ASSERT_EQ(window().presented().pixel(x, y), face.Pixel(x, y)) << x << "," << y;
  }
  EXPECT_FALSE(desktop.tickSource().Armed());
  EXPECT_FALSE(ctx.playlistWindow().Loaded());
  EXPECT_EQ(PlaylistWindow(), nullptr);
}

TEST_F(QtPlayer, PlaylistWindowDocksFlushRightAndGoesAwayWhenUnloaded) {
  Start();
  window().Move({100, 80});
  ctx.lamps().ToggleList();
  ASSERT_TRUE(ctx.playlistWindow().Loaded());
  QPointer<QWidget> list = PlaylistWindow();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->pos(), QPoint(100 + 303, 80));
  EXPECT_FALSE(list->mask().contains(QPoint(0, 0)));
  EXPECT_TRUE(list->mask().contains(QPoint(100, 100)));

  ctx.lamps().ToggleList();
  EXPECT_FALSE(ctx.playlistWindow().Loaded());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(list.isNull());
}

TEST_F(QtPlayer, TrayRestoreBringsBackThePlayerAndALoadedPlaylist) {
  Start();
  ctx.lamps().ToggleList();
  QWidget* list = PlaylistWindow();
  ASSERT_NE(list, nullptr);
  window().SetWindowState(WindowState::Minimised);
  window().SetVisible(false);
  list->hide();

  ctx.playerWindow().Restore();
  EXPECT_TRUE(window().isVisible());
  EXPECT_FALSE(window().isMinimized());
  EXPECT_TRUE(list->isVisible());
}

TEST_F(QtPlayer, TrayRestoreWithoutAPlaylistCreatesNone) {
  Start();
  window().SetVisible(false);
  ctx.playerWindow().Restore();
  EXPECT_TRUE(window().isVisible());
  EXPECT_FALSE(ctx.playlistWindow().Loaded());
  EXPECT_EQ(PlaylistWindow(), nullptr);
}

TEST_F(QtPlayer, ClosingUnloadsThePlaylistThenHidesThePlayer) {
  Start();
  ctx.lamps().ToggleList();
  QPointer<QWidget> list = PlaylistWindow();
  ASSERT_NE(list, nullptr);
  QCloseEvent close;
  QApplication::sendEvent(&window(), &close);
  EXPECT_TRUE(ctx.playerWindow().Closed());
  EXPECT_FALSE(ctx.playlistWindow().Loaded());
  EXPECT_FALSE(window().isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(list.isNull());
  // A second request finds nothing more to do.
  QCloseEvent again;
  QApplication::sendEvent(&window(), &again);
  EXPECT_FALSE(ctx.playlistWindow().Loaded());
}

}  // namespace
