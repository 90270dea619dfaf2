// The player window's life: what start-up leaves behind, the rounded outline,
// the order of the shut-down, and the way back from the tray.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "player_face_checks.h"

namespace kestrafon {
namespace {

using namespace facecheck;
using fakes::RoundedRegion;
using fakes::TestApp;
using seam::TrayEvent;
using seam::WindowState;
using Log = std::vector<std::string>;

constexpr Rect kWholeFace{0, 0, skin::kFaceWidth, skin::kFaceHeight};
constexpr skin::Sprite kKnobAtStart{skin::Sheet::Parts, skin::kVolumeKnob, skin::kKnobStart, skin::kVolumeKnobTop};

// A whole player on fakes, started as the program starts it: load, show,
// then the resize event that showing fires.
class PlayerLifecycle : public ::testing::Test {
 protected:
  void Launch() {
    app.Start();
    app.desktop.player.visible = true;
  }
  void OpenPlaylist() {
    app.ctx.playlistWindow().Show();
    ASSERT_NE(app.desktop.playlist, nullptr);
  }
  // As the platform delivers them: through the player's event sink and the tray.
  void CloseRequest() { app.desktop.player.sink->OnCloseRequested(); }
  void ResizeEvent() { app.desktop.player.sink->OnResize(); }
  void Tray(TrayEvent event) {
    ASSERT_TRUE(app.desktop.onTray);
    app.desktop.onTray(event);
  }
  fakes::FakeFormHost& host() { return app.desktop.player; }

  TestApp app;
  Driver d{app};
};

class PlayerStartUp : public PlayerLifecycle {};
class PlayerOutline : public PlayerLifecycle {};
class PlayerShutDown : public PlayerLifecycle {};
class TrayRestore : public PlayerLifecycle {};
class TrayMinimise : public PlayerLifecycle {};

// ---- Start-up --------------------------------------------------------------

TEST_F(PlayerStartUp, EverythingBeginsOffStoppedAndAlone) {
  Launch();
  // The knob sits at 280 and the player state agrees; no track is open, so
  // applying that volume made no graph.
  EXPECT_EQ(VolumeOfLevel(d.tracks().VolumeLevel()), -480);  // what the first track will get
  EXPECT_TRUE(Shows(d.face(), kKnobAtStart));
  EXPECT_TRUE(app.media.graphs.empty());

  // Option toggles unlit, and the windows they drive untouched.
  EXPECT_TRUE(Shows(d.face(), skin::kOnTopUnlit));
  EXPECT_TRUE(Shows(d.face(), skin::kPlaylistUnlit));
  EXPECT_TRUE(Shows(d.face(), skin::kRepeatUnlit));
  EXPECT_FALSE(d.tracks().Repeats());
  EXPECT_FALSE(d.tracks().IsPlaying());
  EXPECT_FALSE(d.tracks().PauseToggled());
  EXPECT_EQ(host().topMostCalls, 0);

  // No timer: nothing armed, and a stray tick is not delivered.
  EXPECT_FALSE(app.ctx.timer().Ticking());
  EXPECT_EQ(app.desktop.armedInterval, 0);
  const int presents = host().presents;
  app.desktop.Tick();
  EXPECT_TRUE(app.text.drawn.empty());
  EXPECT_EQ(host().presents, presents);

  // No playlist window, not even a hidden one.
  EXPECT_FALSE(app.ctx.playlistWindow().Loaded());
  EXPECT_EQ(app.desktop.playlistHostsCreated, 0);

  // Each toggle starts off: its first use turns it on.
  app.ctx.lamps().ToggleTopMost();
  EXPECT_TRUE(host().topMost);
  app.ctx.lamps().ToggleRepeat();
  EXPECT_TRUE(Shows(d.face(), skin::kRepeatLit));
  app.ctx.lamps().ToggleList();
  EXPECT_TRUE(app.ctx.playlistWindow().Loaded());
}

TEST_F(PlayerStartUp, AddsTheTrayIconAndPresentsTheWholeFaceOnce) {
  app.Start();
  EXPECT_EQ(app.desktop.trayTip, "Kestrafon");
  EXPECT_TRUE(app.desktop.trayShown);
  EXPECT_TRUE(app.desktop.onTray);
  // Loading adds the icon and nothing else: showing the window is the
  // program's next step, not the load's.
  EXPECT_EQ(app.desktop.log, Log{"tray:add"});
  EXPECT_FALSE(host().visible);
  EXPECT_EQ(host().state, WindowState::Normal);

  EXPECT_EQ(host().presents, 1);
  EXPECT_EQ(host().lastDirty, kWholeFace);
  EXPECT_EQ(host().presented, d.face());
}

TEST_F(PlayerStartUp, WithoutATrayTheFaceStartsTheSame) {
  TestApp withTray;
  withTray.Start();

  app.desktop.trayAvailable = false;
  Launch();
  EXPECT_FALSE(app.desktop.trayShown);
  EXPECT_EQ(VolumeOfLevel(d.tracks().VolumeLevel()), -480);  // what the first track will get
  EXPECT_EQ(host().presents, 1);
  EXPECT_EQ(host().presented, withTray.desktop.player.presented);
}

// ---- Rounded outline -------------------------------------------------------

TEST_F(PlayerOutline, EveryResizeGetsAFreshOutlineOfTheOuterSize) {
  Launch();
  EXPECT_EQ(host().outlines, (std::vector<RoundedRegion>{{303, 202, 20, 20}}));

  // The outer size is read anew each time, never remembered.
  host().size = {305, 204};
  ResizeEvent();
  ResizeEvent();
  EXPECT_EQ(host().outlines,
            (std::vector<RoundedRegion>{{303, 202, 20, 20}, {305, 204, 20, 20}, {305, 204, 20, 20}}));
}

TEST_F(PlayerOutline, RestoringFromTheTrayShapesTheWindowAgain) {
  Launch();
  d.Click(kMinimise);
  ResizeEvent();  // the state change to minimised
  ASSERT_FALSE(host().visible);
  Tray(TrayEvent::LeftDoubleClick);
  ResizeEvent();  // and back to normal
  EXPECT_EQ(host().outlines, (std::vector<RoundedRegion>(3, {303, 202, 20, 20})));
  EXPECT_TRUE(host().visible);
}

// ---- Shut-down -------------------------------------------------------------

TEST_F(PlayerShutDown, ThePlaylistWindowGoesBeforeTheTrayIconThenTheProgramEnds) {
  Launch();
  OpenPlaylist();
  app.desktop.log.clear();
  CloseRequest();
  EXPECT_EQ(app.desktop.log, (Log{"playlist:hide", "playlist:destroy", "tray:remove", "player:hide", "quit"}));
  EXPECT_TRUE(app.ctx.playerWindow().Closed());
  EXPECT_FALSE(app.ctx.playlistWindow().Loaded());
  EXPECT_EQ(app.desktop.playlist, nullptr);
  EXPECT_FALSE(app.desktop.trayShown);
  EXPECT_TRUE(app.desktop.quit);
}

TEST_F(PlayerShutDown, AHiddenPlaylistWindowInTheTrayIsUnloadedToo) {
  Launch();
  OpenPlaylist();
  d.Click(kMinimise);
  ASSERT_FALSE(app.desktop.playlist->visible);
  app.desktop.log.clear();
  CloseRequest();
  EXPECT_EQ(app.desktop.log, (Log{"playlist:hide", "playlist:destroy", "tray:remove", "player:hide", "quit"}));
}

TEST_F(PlayerShutDown, NoPlaylistWindowIsCreatedOnTheWayOut) {
  Launch();
  app.desktop.log.clear();
  CloseRequest();
  EXPECT_EQ(app.desktop.log, (Log{"tray:remove", "player:hide", "quit"}));
  EXPECT_EQ(app.desktop.playlistHostsCreated, 0);

  // Nor when one was opened and closed again before.
  TestApp again;
  again.Start();
  again.ctx.lamps().ToggleList();
  again.ctx.lamps().ToggleList();
  ASSERT_FALSE(again.ctx.playlistWindow().Loaded());
  again.desktop.log.clear();
  again.desktop.player.sink->OnCloseRequested();
  EXPECT_EQ(again.desktop.log, (Log{"tray:remove", "player:hide", "quit"}));
  EXPECT_EQ(again.desktop.playlistHostsCreated, 1);
}

// Runs the test in an empty directory that is also home, so anything written
// on the way out would show up there.
class ScratchHome {
 public:
  ScratchHome() {
    std::string pattern = ::testing::TempDir() + "kestrafon_close_XXXXXX";
    if (!mkdtemp(pattern.data())) return;
    path = pattern;
    std::error_code ec;
    oldCwd_ = std::filesystem::current_path(ec);
    std::filesystem::current_path(path, ec);
    Swap("HOME", oldHome_);
    Swap("XDG_CONFIG_HOME", oldConfig_);
  }
  ~ScratchHome() {
    std::error_code ec;
    if (!oldCwd_.empty()) std::filesystem::current_path(oldCwd_, ec);
    Restore("HOME", oldHome_);
    Restore("XDG_CONFIG_HOME", oldConfig_);
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
  bool Empty() const { return std::filesystem::is_empty(path); }
  std::string path;

 private:
  void Swap(const char* name, std::optional<std::string>& old) {
    if (const char* v = std::getenv(name)) old = v;
    setenv(name, path.c_str(), 1);
  }
  static void Restore(const char* name, const std::optional<std::string>& old) {
    if (old) setenv(name, old->c_str(), 1);
    else unsetenv(name);
  }
  std::filesystem::path oldCwd_;
  std::optional<std::string> oldHome_, oldConfig_;
};

TEST_F(PlayerShutDown, APlayingTrackIsNeitherStoppedNorSavedAndLaterTicksDoNothing) {
  ScratchHome home;
  ASSERT_FALSE(home.path.empty());
  Launch();
  app.AddTracks({{"/m/a.mp3", 3}, {"/m/b.mp3", 4}});
  d.Click(kPlay);
  ASSERT_TRUE(d.tracks().IsPlaying());
  fakes::FakeGraphState* graph = d.Live();
  ASSERT_NE(graph, nullptr);
  const Log callsBefore = graph->calls;
  const std::size_t textsBefore = app.text.drawn.size();

  CloseRequest();
  EXPECT_EQ(graph->calls, callsBefore);  // no stop, no pause, not released
  EXPECT_TRUE(graph->running);
  EXPECT_TRUE(app.desktop.saveRequests.empty());
  EXPECT_TRUE(home.Empty());
  for (const std::string& entry : app.desktop.log) EXPECT_NE(entry.rfind("dialog:", 0), 0u) << entry;
  EXPECT_EQ(d.tracks().Count(), 2);

  // A tick still queued behind the close finds the track at its end: it must
  // not draw, open the next track or bring up a playlist window.
  const int presents = host().presents;
  d.TickAt(3);
  EXPECT_EQ(app.media.graphs.size(), 1u);
  EXPECT_EQ(app.text.drawn.size(), textsBefore);
  EXPECT_EQ(host().presents, presents);
  EXPECT_EQ(app.desktop.playlistHostsCreated, 0);
  EXPECT_EQ(d.tracks().CurrentEntry(), 1);
}

TEST_F(PlayerShutDown, ASecondCloseRequestDoesNothingMore) {
  Launch();
  OpenPlaylist();
  CloseRequest();
  const Log afterFirst = app.desktop.log;
  const int presents = host().presents;
  CloseRequest();
  app.ctx.playerWindow().Close();
  d.Click(kClose);
  EXPECT_EQ(app.desktop.log, afterFirst);
  EXPECT_EQ(host().presents, presents);
  EXPECT_EQ(app.desktop.playlistHostsCreated, 1);
}

TEST_F(PlayerShutDown, ACloseWhileMinimisingLeavesTheClosedWindowAlone) {
  Launch();
  OpenPlaylist();
  d.Press(kMinimise);
  // The close request is among the events the minimise lets run.
  app.desktop.pendingEvents = [this] { CloseRequest(); };
  app.desktop.log.clear();
  d.Release(kMinimise);
  EXPECT_EQ(app.desktop.log, (Log{"playlist:hide", "playlist:destroy", "tray:remove", "player:hide", "quit"}));
  EXPECT_EQ(host().state, WindowState::Normal);
  EXPECT_EQ(app.desktop.playlistHostsCreated, 1);
}

// ---- Tray restore ----------------------------------------------------------

TEST_F(TrayRestore, DoubleClickBringsBackThePlayerAndItsLoadedPlaylist) {
  Launch();
  OpenPlaylist();
  d.Click(kMinimise);
  ASSERT_FALSE(host().visible);
  ASSERT_EQ(host().state, WindowState::Minimised);
  app.desktop.log.clear();
  const int presents = host().presents;

  Tray(TrayEvent::LeftDoubleClick);
  EXPECT_EQ(app.desktop.log, (Log{"player:show", "player:normal", "playlist:show"}));
  EXPECT_TRUE(host().visible);
  EXPECT_EQ(host().state, WindowState::Normal);
  EXPECT_TRUE(app.desktop.playlist->visible);
  // Nothing on the face changed while hidden, yet all of it is repainted.
  EXPECT_EQ(host().presents, presents + 1);
  EXPECT_EQ(host().lastDirty, kWholeFace);
  EXPECT_EQ(host().presented, d.face());
}

TEST_F(TrayRestore, WithoutAPlaylistWindowOnlyThePlayerComesBack) {
  Launch();
  d.Click(kMinimise);
  ASSERT_FALSE(host().visible);
  app.desktop.log.clear();
  Tray(TrayEvent::LeftDoubleClick);
  EXPECT_EQ(app.desktop.log, (Log{"player:show", "player:normal"}));
  EXPECT_FALSE(app.ctx.playlistWindow().Loaded());
  EXPECT_EQ(app.desktop.playlistHostsCreated, 0);
}

TEST_F(TrayRestore, AVisiblePlayerIsOnlyRepainted) {
  Launch();
  const int presents = host().presents;
  Tray(TrayEvent::LeftDoubleClick);
  EXPECT_TRUE(host().visible);
  EXPECT_EQ(host().state, WindowState::Normal);
  EXPECT_EQ(host().presents, presents + 1);
  EXPECT_EQ(host().lastDirty, kWholeFace);
}

TEST_F(TrayRestore, OtherTrayEventsDoNothing) {
  Launch();
  OpenPlaylist();
  d.Click(kMinimise);
  app.desktop.log.clear();
  const int presents = host().presents;
  Tray(TrayEvent::Other);
  EXPECT_TRUE(app.desktop.log.empty());
  EXPECT_EQ(host().presents, presents);
  EXPECT_FALSE(host().visible);
  EXPECT_EQ(host().state, WindowState::Minimised);
  EXPECT_FALSE(app.desktop.playlist->visible);
}

TEST_F(TrayRestore, AfterTheCloseADoubleClickDoesNothing) {
  Launch();
  OpenPlaylist();
  d.Click(kMinimise);
  CloseRequest();
  app.desktop.log.clear();
  const int presents = host().presents;
  Tray(TrayEvent::LeftDoubleClick);
  EXPECT_TRUE(app.desktop.log.empty());
  EXPECT_EQ(host().presents, presents);
  EXPECT_FALSE(host().visible);
  EXPECT_EQ(app.desktop.playlistHostsCreated, 1);
}

// ---- Minimise with and without a tray ----------------------------------------

TEST_F(TrayMinimise, WithATrayThePlayerHidesAndNoPlaylistWindowAppears) {
  Launch();
  app.desktop.log.clear();
  d.Click(kMinimise);
  EXPECT_EQ(app.desktop.log, (Log{"player:minimise", "player:hide"}));
  EXPECT_FALSE(app.ctx.playlistWindow().Loaded());
  EXPECT_EQ(app.desktop.playlistHostsCreated, 0);
}

TEST_F(TrayMinimise, WithoutATrayThePlayerOnlyMinimises) {
  app.desktop.trayAvailable = false;
  Launch();
  OpenPlaylist();
  app.desktop.log.clear();
  d.Click(kMinimise);
  EXPECT_EQ(app.desktop.log, Log{"player:minimise"});
  EXPECT_TRUE(host().visible);
  EXPECT_TRUE(app.desktop.playlist->visible);
}

TEST_F(TrayMinimise, ATrayThatAppearsAfterStartUpHoldsNoIconToComeBackFrom) {
  // The icon could not be added at start-up; a tray that turns up later does
  // not carry it, so hiding the player there would lose it for good.
  app.desktop.trayAvailable = false;
  Launch();
  OpenPlaylist();
  app.desktop.trayAvailable = true;
  app.desktop.log.clear();
  d.Click(kMinimise);
  EXPECT_EQ(app.desktop.log, Log{"player:minimise"});
  EXPECT_TRUE(host().visible);
  EXPECT_TRUE(app.desktop.playlist->visible);
}

}  // namespace
}  // namespace kestrafon
