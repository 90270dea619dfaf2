#include <gtest/gtest.h>

#include "control/clock_text.h"
#include "fakes/test_app.h"

namespace kestrafon {
namespace {

using fakes::TestApp;

std::string Clock(double t) {
  const std::string s = WholeSecondsText(t);
  const std::string m = MinuteText(s);
  return m + ":" + SecondText(s, m);
}

TEST(ClockText, MinutesAndSecondsOfWholeSeconds) {
  EXPECT_EQ(Clock(0.5), "00:00");
  EXPECT_EQ(Clock(59.99), "00:59");
  EXPECT_EQ(Clock(60), "01:00");
  EXPECT_EQ(Clock(754.3), "12:34");
  EXPECT_EQ(Clock(6000), "100:00");
  EXPECT_EQ(MinuteText("30"), "00");
  EXPECT_EQ(MinuteText("7500"), "125");
  EXPECT_EQ(WholeSecondsText(12.93), "12");
  EXPECT_EQ(WholeSecondsText(5.0), "5");
}

TEST(ClockText, NonsenseTimesNeverFail) {
  EXPECT_EQ(WholeSecondsText(std::numeric_limits<double>::quiet_NaN()), "0");
  EXPECT_EQ(WholeSecondsText(std::numeric_limits<double>::infinity()), "0");
  EXPECT_EQ(WholeSeconds(1e300), std::numeric_limits<std::int32_t>::max());
}

// Starting a track: the engine opens it, the control surface scales the
// bar, applies the knob and runs it.
class TrackStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.AddTracks({{"/music/a.mp3", 200.5}, {"/music/b.mp3", 60.3}});
    app.ctx.tracks().Append("/music/missing.mp3");
    app.ctx.tracks().Append("");
  }
  TestApp app;
  PlaybackEngine& engine = app.ctx.engine();
  ControlSurface& control = app.ctx.control();
};

TEST_F(TrackStartTest, NothingHappensBeforeTheFirstTrack) {
  engine.Control(GraphCommand::Run);
  engine.Control(GraphCommand::StopAndRewind);
  EXPECT_EQ(engine.graph(), nullptr);
  EXPECT_EQ(engine.duration(), 0);
  EXPECT_EQ(engine.Position(), 0);
  EXPECT_TRUE(engine.PutVolume(-100));
  EXPECT_TRUE(app.media.graphs.empty());
}

TEST_F(TrackStartTest, ATrackRunsAtTheKnobVolumeOnItsOwnScale) {
  app.ctx.tracks().SetVolumeLevel(skin::LevelOfKnob(280));
  control.PlayEntry(1);
  auto& g = app.media.last();
  EXPECT_TRUE(g.running);
  EXPECT_EQ(g.volume, -480);
  EXPECT_EQ(engine.duration(), 200.5);
  EXPECT_TRUE(app.ctx.timer().Enabled());
  const TimeBar::Scale& scale = app.ctx.timeBar().scale();
  EXPECT_EQ(scale.step, 1);
  EXPECT_EQ(scale.remainder, 66);
  EXPECT_FALSE(scale.shortTrack);
  // The volume is set before the graph runs; the next track is readied after.
  EXPECT_EQ(g.calls, (std::vector<std::string>{"render", "volume", "run", "follow /music/b.mp3"}));
}

TEST_F(TrackStartTest, AFailedOpenLeavesThePlayingTrackAlone) {
  app.ctx.tracks().SetVolumeLevel(skin::LevelOfKnob(250));
  control.PlayEntry(1);
  auto first = app.media.graphs.back();

  for (const std::int32_t bad : {3, 4}) {  // a missing file, an empty path
    control.PlayEntry(bad);
    EXPECT_NE(engine.graph(), nullptr);
    EXPECT_FALSE(first->released);
    EXPECT_TRUE(first->running);
    EXPECT_EQ(first->volume, (250 - 286) * 80);
    EXPECT_EQ(engine.duration(), 200.5);
    EXPECT_TRUE(app.media.last().released);  // the failed graph is dropped
  }
  app.media.createFails = true;
  control.PlayEntry(2);
  EXPECT_FALSE(first->released);
}

TEST_F(TrackStartTest, TheOldTrackStopsOnlyAfterTheNewOneRendered) {
  control.PlayEntry(1);
  auto first = app.media.graphs.back();
  control.PlayEntry(2);
  auto second = app.media.graphs.back();
  EXPECT_TRUE(first->released);
  EXPECT_EQ(first->calls.back(), "release");
  EXPECT_EQ(first->calls[first->calls.size() - 2], "stop");
  EXPECT_TRUE(second->running);
  EXPECT_EQ(second->position, 0);
  EXPECT_EQ(engine.duration(), 60.3);
  EXPECT_TRUE(app.ctx.timeBar().scale().shortTrack);
}

TEST_F(TrackStartTest, AFailedDurationStillStartsTheTrackWithoutVolume) {
  app.media.files["/music/odd.mp3"] = {10, true, true};
  app.ctx.tracks().Append("/music/odd.mp3");
  control.PlayEntry(1);
  control.PlayEntry(5);
  EXPECT_TRUE(app.media.last().running);
  EXPECT_FALSE(app.media.last().volume.has_value());
  EXPECT_EQ(engine.duration(), 200.5);  // kept from the previous track
  EXPECT_FALSE(app.ctx.timeBar().scale().shortTrack);  // and so is the bar's scale
}

TEST_F(TrackStartTest, GraphCommands) {
  control.PlayEntry(1);
  auto& g = app.media.last();
  g.position = 42;
  engine.Control(GraphCommand::Pause);
  EXPECT_TRUE(g.paused);
  engine.Control(GraphCommand::Run);
  EXPECT_TRUE(g.running);
  EXPECT_EQ(g.position, 42);
  engine.Control(GraphCommand::StopAndRewind);
  EXPECT_TRUE(g.stopped);
  EXPECT_EQ(g.position, 0);
  EXPECT_EQ(engine.graphState(), PlaybackEngine::GraphState::Stopped);  // reported as stopped, not playing
}

TEST_F(TrackStartTest, ATrackEndsOnlyExactlyAtAKnownDuration) {
  EXPECT_FALSE(engine.TrackEnded(0));  // no graph yet
  control.PlayEntry(1);
  EXPECT_TRUE(engine.TrackEnded(200.5));
  EXPECT_FALSE(engine.TrackEnded(200.4));
  EXPECT_FALSE(engine.TrackEnded(200.6));  // past the end is not the end
  app.AddTracks({{"/music/zero.mp3", 0}});
  control.PlayEntry(5);
  EXPECT_FALSE(engine.TrackEnded(0));  // an unknown length never ends
}

}  // namespace
}  // namespace kestrafon
