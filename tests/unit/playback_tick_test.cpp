// The playback tick, driven by the fake clock of the current graph: the
// clock texts, the scrolling title, the time bar and the ends of tracks.
#include <gtest/gtest.h>

#include <cmath>

#include "player_face_checks.h"

namespace kestrafon {
namespace {

using namespace facecheck;
using fakes::TestApp;

class PlaybackTick : public ::testing::Test {
 protected:
  void SetUp() override {
    app.desktop.player.visible = true;
    app.Start();
  }
  void Play(std::initializer_list<std::pair<const char*, double>> tracks, std::int32_t from = 1) {
    app.AddTracks(tracks);
    d.tracks().SetCurrentEntry(from);
    d.Click(kPlay);
    ASSERT_TRUE(d.tracks().IsPlaying());
  }
  // The texts the last tick drew: elapsed and total clock, and the title.
  std::vector<std::string> Clock() {
    std::vector<std::string> out;
    for (const auto& t : d.DrawnOn(app.ctx.playerWindow().clockPanel(), mark)) out.push_back(t.text);
    return out;
  }
  std::vector<fakes::DrawnText> Titles() { return d.DrawnOn(app.ctx.playerWindow().titlePanel(), mark); }
  void TickAt(double seconds) {
    mark = app.text.drawn.size();
    d.TickAt(seconds);
  }

  TestApp app;
  Driver d{app};
  std::size_t mark = 0;
};

// ---- Clock texts ---------------------------------------------------------

TEST_F(PlaybackTick, ShowsElapsedAndTotalTimeInWholeSeconds) {
  Play({{"/m/a.mp3", 3000.9}});
  TickAt(754.3);
  EXPECT_EQ(Clock(), (std::vector<std::string>{"12:34", "50:00"}));
  auto times = d.DrawnOn(app.ctx.playerWindow().clockPanel(), mark);
  EXPECT_EQ(times[0].x, 10);
  EXPECT_EQ(times[1].x, 50);
  EXPECT_EQ(times[1].y, 10);
  TickAt(0.5);
  EXPECT_EQ(Clock()[0], "00:00");
}

TEST_F(PlaybackTick, ClockTextsAreCutToFiveCharacters) {
  Play({{"/m/long.mp3", 6000.5}});
  TickAt(6000);
  EXPECT_EQ(Clock(), (std::vector<std::string>{"100:0", "100:0"}));
}

TEST_F(PlaybackTick, PositionZeroShowsAColonAndLeavesTheBarAlone) {
  Play({{"/m/a.mp3", 200.5}});
  TickAt(0);  // a long track would draw its first step at second 0
  EXPECT_EQ(FillWidth(d.face()), 0);
  TickAt(0.05);
  ASSERT_EQ(FillWidth(d.face()), 2);
  TickAt(0);  // rewound, or paused at 0
  EXPECT_EQ(Clock(), (std::vector<std::string>{":", "03:20"}));
  EXPECT_EQ(FillWidth(d.face()), 2);
  ASSERT_EQ(Titles().size(), 1u);
  EXPECT_EQ(Titles()[0].text, "a.mp3");
}

TEST_F(PlaybackTick, ATickBeforeAnyTrackOpenedShowsTheTitleAndNoClock) {
  // The very first track fails to open: the timer runs without a graph.
  app.ctx.tracks().Append("/m/missing.mp3");
  d.Click(kPlay);
  ASSERT_EQ(app.ctx.engine().graph(), nullptr);
  ASSERT_EQ(app.desktop.armedInterval, 100);
  TickAt(0);
  TickAt(0);
  ASSERT_EQ(Titles().size(), 1u);
  EXPECT_EQ(Titles()[0].text, "missing.mp3");
  EXPECT_TRUE(Clock().empty());
  EXPECT_TRUE(Blank(app.ctx.playerWindow().clockPanel()));
  EXPECT_EQ(d.tracks().CurrentEntry(), 1);
  EXPECT_TRUE(d.tracks().IsPlaying());
}

TEST_F(PlaybackTick, TheTitleIsTheNameAfterTheLastSlashOfEitherKind) {
  Play({{"C:\\Music\\dir/x\\曲.mp3", 100}, {"plain.mp3", 100}});
  TickAt(1);
  EXPECT_EQ(Titles()[0].text, "曲.mp3");
  d.Click(kNext);
  TickAt(1);
  EXPECT_EQ(Titles()[0].text, "plain.mp3");
}

// ---- Scrolling title -----------------------------------------------------

TEST_F(PlaybackTick, TheTitleScrollsLeftThenComesBackFromTheRight) {
  Play({{"/m/a.mp3", 1000}});
  std::vector<int> xs;
  for (int i = 0; i < 203; ++i) {
    TickAt(1 + i / 10.0);
    ASSERT_EQ(Titles().size(), 1u);
    xs.push_back(Titles()[0].x);
    EXPECT_EQ(Titles()[0].y, 10);
  }
  for (int i = 0; i < 200; ++i) ASSERT_EQ(xs[std::size_t(i)], -1 - i);
  EXPECT_EQ(xs[200], 144);
  EXPECT_EQ(xs[201], 143);
  EXPECT_EQ(xs[202], 142);
  EXPECT_EQ(app.ctx.playerWindow().titleOffset(), 142);
}

TEST_F(PlaybackTick, TheTitleOffsetCarriesOverTrackChangesAndStops) {
  Play({{"/m/a.mp3", 100}, {"/m/b.mp3", 100}});
  TickAt(1);
  TickAt(2);
  d.Click(kNext);
  TickAt(1);
  EXPECT_EQ(Titles()[0].x, -3);
  d.Click(kStop);
  d.Click(kPlay);
  TickAt(1);
  EXPECT_EQ(Titles()[0].x, -4);
}

// ---- Time bar ------------------------------------------------------------

TEST_F(PlaybackTick, AShortTrackFillsTheBarSecondBySecond) {
  Play({{"/m/short.mp3", 60.3}});  // 2 pixels a second, 14 seconds get one more
  TickAt(0.5);
  EXPECT_EQ(FillWidth(d.face()), 0);
  TickAt(1.0);
  EXPECT_EQ(FillWidth(d.face()), 3);
  for (int s = 2; s <= 14; ++s) TickAt(s + 0.01);
  EXPECT_EQ(FillWidth(d.face()), 42);
  TickAt(15.01);
  EXPECT_EQ(FillWidth(d.face()), 44);
  for (int s = 16; s <= 60; ++s) TickAt(s + 0.01);
  EXPECT_EQ(FillWidth(d.face()), 134);
}

TEST_F(PlaybackTick, ALongTrackGrowsOnePixelEveryFewSeconds) {
  Play({{"/m/long.mp3", 200.5}});  // one pixel every 2 seconds, then every second
  TickAt(0.1);
  EXPECT_EQ(FillWidth(d.face()), 2);
  TickAt(1.1);
  EXPECT_EQ(FillWidth(d.face()), 2);
  TickAt(2.1);
  EXPECT_EQ(FillWidth(d.face()), 3);
}

TEST_F(PlaybackTick, AShortTrackStoppedHalfwayFillsAgainFromTheStart) {
  Play({{"/m/short.mp3", 60.3}});
  for (int s = 1; s <= 30; ++s) TickAt(s);
  d.Click(kStop);
  EXPECT_EQ(FillWidth(d.face()), 0);
  d.Click(kPlay);
  TickAt(1);
  EXPECT_EQ(FillWidth(d.face()), 3);
}

// ---- End of a track ------------------------------------------------------

TEST_F(PlaybackTick, OnlyExactEqualityEndsATrack) {
  Play({{"/m/a.mp3", 3.0}, {"/m/b.mp3", 5}});  // a whole number of seconds
  TickAt(std::nextafter(3.0, 0.0));
  EXPECT_EQ(d.tracks().CurrentEntry(), 1);
  TickAt(3.5);  // past the duration does not count either
  EXPECT_EQ(d.tracks().CurrentEntry(), 1);
  TickAt(3.0);
  EXPECT_EQ(d.tracks().CurrentEntry(), 2);
}

TEST_F(PlaybackTick, AtTheEndTheNextTrackOpensAndThisTickStillShowsTheOldClock) {
  Play({{"/m/a.mp3", 61.5}, {"/m/b.mp3", 125}, {"/m/c.mp3", 30}});
  auto* old = d.Live();
  TickAt(61.5);
  // Stopped and rewound, then dropped once the next track had opened.
  ASSERT_GE(old->calls.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(old->calls.end() - 4, old->calls.end()),
            (std::vector<std::string>{"stop", "seek", "stop", "release"}));
  EXPECT_TRUE(old->released);
  EXPECT_EQ(d.tracks().CurrentEntry(), 2);
  EXPECT_EQ(d.Live()->path, "/m/b.mp3");
  EXPECT_TRUE(d.Live()->running);
  EXPECT_EQ(Clock(), (std::vector<std::string>{"01:01", "01:01"}));
  EXPECT_EQ(Titles()[0].text, "b.mp3");
  EXPECT_EQ(FillWidth(d.face()), 0);
  EXPECT_TRUE(app.ctx.timer().Ticking());
  TickAt(1);
  EXPECT_EQ(Clock(), (std::vector<std::string>{"00:01", "02:05"}));
}

TEST_F(PlaybackTick, WholeTracksPlayOneAfterAnotherWithRepeatWrapping) {
  Play({{"/m/a.mp3", 2.5}, {"/m/b.mp3", 1.2}, {"/m/c.mp3", 3}});
  d.Click(kRepeat);
  std::vector<std::string> opened;
  // Play the list through twice on the fake clock, 100 ms a tick.
  for (int round = 0; round < 6; ++round) {
    opened.push_back(d.Live()->path);
    double duration = app.ctx.engine().duration();
    for (int k = 1; d.Live()->path == opened.back() && k < 100; ++k)
      TickAt(std::min(k / 10.0, duration));
  }
  EXPECT_EQ(opened, (std::vector<std::string>{"/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/a.mp3", "/m/b.mp3",
                                              "/m/c.mp3"}));
  EXPECT_TRUE(d.tracks().IsPlaying());
}

TEST_F(PlaybackTick, RepeatWithOneTrackStartsItAgainFromTheBeginning) {
  Play({{"/m/only.mp3", 10}});
  d.Click(kRepeat);
  auto* first = d.Live();
  TickAt(10);
  EXPECT_TRUE(first->released);
  ASSERT_NE(d.Live(), first);
  EXPECT_EQ(d.Live()->path, "/m/only.mp3");
  EXPECT_EQ(d.Live()->position, 0);
  EXPECT_TRUE(d.Live()->running);
  EXPECT_EQ(d.tracks().CurrentEntry(), 1);
}

TEST_F(PlaybackTick, TheLastTrackWithRepeatWrapsToTheFirst) {
  Play({{"/m/a.mp3", 10}, {"/m/b.mp3", 10}, {"/m/c.mp3", 10}}, 3);
  d.Click(kRepeat);
  TickAt(10);
  EXPECT_EQ(d.tracks().CurrentEntry(), 1);
  EXPECT_EQ(d.Live()->path, "/m/a.mp3");
  EXPECT_TRUE(d.tracks().IsPlaying());
}

TEST_F(PlaybackTick, TheLastTrackWithoutRepeatStopsEverything) {
  Play({{"/m/a.mp3", 10}, {"/m/b.mp3", 10}, {"/m/c.mp3", 10}}, 3);
  TickAt(9.9);
  const std::int32_t offset = app.ctx.playerWindow().titleOffset();
  TickAt(10);

  EXPECT_EQ(d.tracks().CurrentEntry(), 1);
  EXPECT_FALSE(d.tracks().IsPlaying());
  EXPECT_FALSE(app.ctx.timer().Enabled());
  EXPECT_EQ(app.ctx.timer().Interval(), 100);  // only disabled
  EXPECT_EQ(app.desktop.armedInterval, 0);
  EXPECT_TRUE(d.Live()->stopped);
  EXPECT_EQ(d.Live()->position, 0);
  EXPECT_EQ(d.Live()->path, "/m/c.mp3");  // nothing new opened
  EXPECT_TRUE(Shows(d.face(), skin::kTransportRowReleased));
  EXPECT_TRUE(Shows(d.face(), skin::kTimeBarTrack));
  EXPECT_TRUE(Blank(app.ctx.playerWindow().titlePanel()));
  EXPECT_TRUE(Blank(app.ctx.playerWindow().clockPanel()));
  EXPECT_TRUE(Titles().empty());
  EXPECT_TRUE(Clock().empty());
  EXPECT_EQ(app.ctx.playerWindow().titleOffset(), offset);
  // The window shows it: the text pixels at (10, 10) of both panels are gone.
  EXPECT_TRUE(app.desktop.player.presented == d.face());
  EXPECT_EQ(d.face().Pixel(skin::kTitlePanel.x + 10, skin::kTitlePanel.y + 10), 0xFF000000u);
  EXPECT_EQ(d.face().Pixel(skin::kTimePanel.x + 10, skin::kTimePanel.y + 10), 0xFF000000u);
  // The list was repainted with track 1 current.
  ASSERT_NE(app.ctx.playlistWindow().faceImage(), nullptr);
  auto rows = d.DrawnOn(*app.ctx.playlistWindow().faceImage(), mark);
  ASSERT_GE(rows.size(), 3u);  // the last three: the final repaint
  rows.erase(rows.begin(), rows.end() - 3);
  EXPECT_EQ(rows[0].y, 15);
  EXPECT_EQ(rows[0].color, kCurrentRowColour);
  EXPECT_EQ(rows[2].color, kPlainRowColour);
  // Play starts the list again from track 1.
  d.Click(kPlay);
  EXPECT_EQ(d.Live()->path, "/m/a.mp3");
}

TEST_F(PlaybackTick, AMissingFileAtAnAutomaticChangeLeavesTheOldTrackStoppedAtZero) {
  Play({{"/m/a.mp3", 10}, {"/m/gone.mp3", 10}, {"/m/c.mp3", 10}});
  app.media.files.erase("/m/gone.mp3");
  auto* old = d.Live();
  TickAt(10);
  EXPECT_EQ(d.tracks().CurrentEntry(), 2);
  EXPECT_EQ(d.Live(), old);
  EXPECT_TRUE(old->stopped);
  EXPECT_EQ(old->position, 0);
  EXPECT_TRUE(app.ctx.timer().Ticking());
  // From now on nothing advances, the failed entry's name scrolls, the
  // clock shows ":" and the old total.
  for (int i = 0; i < 5; ++i) {
    mark = app.text.drawn.size();
    app.desktop.Tick();
    EXPECT_EQ(Clock(), (std::vector<std::string>{":", "00:10"}));
    EXPECT_EQ(Titles()[0].text, "gone.mp3");
  }
  EXPECT_EQ(d.tracks().CurrentEntry(), 2);
  EXPECT_EQ(FillWidth(d.face()), 0);
  // The user can still move on.
  d.Click(kNext);
  EXPECT_EQ(d.Live()->path, "/m/c.mp3");
}

TEST_F(PlaybackTick, AnUnknownDurationNeverEndsATrackAtOnce) {
  app.AddTracks({{"/m/a.mp3", 10}, {"/m/b.mp3", 10}});
  app.media.files["/m/a.mp3"].durationFails = true;
  d.Click(kPlay);
  ASSERT_EQ(app.ctx.engine().duration(), 0);
  TickAt(0);
  EXPECT_EQ(d.tracks().CurrentEntry(), 1);
  EXPECT_EQ(d.Live()->path, "/m/a.mp3");
}

TEST_F(PlaybackTick, ANumberPastAShortenedListEndsLikeTheLastTrack) {
  Play({{"/m/a.mp3", 10}, {"/m/b.mp3", 10}, {"/m/c.mp3", 10}}, 3);
  d.tracks().Resize(2);  // the list shrank under the playing track
  TickAt(10);
  EXPECT_EQ(d.tracks().CurrentEntry(), 1);
  EXPECT_FALSE(d.tracks().IsPlaying());
}

// ---- What a tick presents ------------------------------------------------

TEST_F(PlaybackTick, ATickPresentsOnlyThePanelsAndTheBar) {
  Play({{"/m/a.mp3", 200.5}});
  TickAt(0.5);  // the bar grows this tick
  const Rect withBar = app.desktop.player.lastDirty;
  EXPECT_EQ(withBar, (Rect{24, 24, 137, 92}));  // title panel down to the bar fill
  TickAt(0.6);  // texts only
  EXPECT_EQ(app.desktop.player.lastDirty, (Rect{24, 24, 137, 81}));
  EXPECT_TRUE(app.desktop.player.presented == d.face());
}

TEST_F(PlaybackTick, PausedPlaybackKeepsScrollingAndShowsThePausedTime) {
  Play({{"/m/a.mp3", 200}});
  TickAt(42.3);
  d.Click(kPause);
  const std::int32_t offset = app.ctx.playerWindow().titleOffset();
  TickAt(42.3);
  EXPECT_EQ(Clock()[0], "00:42");
  EXPECT_EQ(app.ctx.playerWindow().titleOffset(), offset - 1);
}

}  // namespace
}  // namespace kestrafon
