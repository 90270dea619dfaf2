#include <gtest/gtest.h>

#include "engine/clock_text.h"
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

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.media.files["/music/a.mp3"] = {200.5};
    app.media.files["/music/b.mp3"] = {60.3};
  }
  TestApp app;
  modDirectx& engine = app.ctx.engine();
};

TEST_F(EngineTest, NothingHappensBeforeTheFirstTrack) {
  engine.ControlGraph(GraphCommand::Run);
  engine.ControlGraph(GraphCommand::StopAndRewind);
  engine.ReleaseGraph();
  EXPECT_EQ(engine.currentGraph(), nullptr);
  EXPECT_EQ(engine.trackDuration(), 0);
  EXPECT_TRUE(app.media.graphs.empty());
}

TEST_F(EngineTest, OpeningATrackRunsItAtTheKnobVolume) {
  app.ctx.gPlayer().VolumePos(280);
  EXPECT_TRUE(engine.PlayTrack("/music/a.mp3"));
  auto& g = app.media.last();
  EXPECT_TRUE(g.running);
  EXPECT_EQ(g.volume, -480);
  EXPECT_EQ(engine.trackDuration(), 200.5);
  EXPECT_TRUE(app.ctx.timer().Enabled());
  // The scale of the time bar was computed for the new track.
  EXPECT_EQ(app.ctx.gWindow().ans, 1);
  EXPECT_EQ(app.ctx.gWindow().remainder, 66);
  EXPECT_FALSE(app.ctx.gWindow().BarSizeFlg);
  // The volume is set before the graph runs.
  EXPECT_EQ(g.calls, (std::vector<std::string>{"render", "volume", "run"}));
}

TEST_F(EngineTest, AFailedOpenLeavesThePlayingTrackAlone) {
  app.ctx.gPlayer().VolumePos(250);
  ASSERT_TRUE(engine.PlayTrack("/music/a.mp3"));
  auto first = app.media.graphs.back();
  app.ctx.timer().Enabled(false);
  app.ctx.gPlayer().VolumePos(206);

  for (const char* bad : {"/music/missing.mp3", ""}) {
    EXPECT_FALSE(engine.PlayTrack(bad));
    EXPECT_NE(engine.currentGraph(), nullptr);
    EXPECT_FALSE(first->released);
    EXPECT_TRUE(first->running);
    EXPECT_EQ(first->volume, (250 - 286) * 80);
    EXPECT_EQ(engine.trackDuration(), 200.5);
    EXPECT_FALSE(app.ctx.timer().Enabled());
    EXPECT_TRUE(app.media.last().released);  // the failed graph is dropped
  }
  app.media.createFails = true;
  EXPECT_FALSE(engine.PlayTrack("/music/b.mp3"));
  EXPECT_FALSE(first->released);
}

TEST_F(EngineTest, TheOldTrackStopsOnlyAfterTheNewOneRendered) {
  ASSERT_TRUE(engine.PlayTrack("/music/a.mp3"));
  auto first = app.media.graphs.back();
  ASSERT_TRUE(engine.PlayTrack("/music/b.mp3"));
  auto second = app.media.graphs.back();
  EXPECT_TRUE(first->released);
  EXPECT_EQ(first->calls.back(), "release");
  EXPECT_EQ(first->calls[first->calls.size() - 2], "stop");
  EXPECT_TRUE(second->running);
  EXPECT_EQ(second->position, 0);
  EXPECT_EQ(engine.trackDuration(), 60.3);
  EXPECT_TRUE(app.ctx.gWindow().BarSizeFlg);
}

TEST_F(EngineTest, AFailedDurationStillStartsTheTrackWithoutVolume) {
  app.media.files["/music/odd.mp3"] = {10, true, true};
  ASSERT_TRUE(engine.PlayTrack("/music/a.mp3"));
  ASSERT_TRUE(engine.PlayTrack("/music/odd.mp3"));
  EXPECT_TRUE(app.media.last().running);
  EXPECT_FALSE(app.media.last().volume.has_value());
  EXPECT_EQ(engine.trackDuration(), 200.5);  // kept from the previous track
}

TEST_F(EngineTest, ControlCommands) {
  ASSERT_TRUE(engine.PlayTrack("/music/a.mp3"));
  auto& g = app.media.last();
  g.position = 42;
  engine.ControlGraph(GraphCommand::Pause);
  EXPECT_TRUE(g.paused);
  engine.ControlGraph(GraphCommand::Run);
  EXPECT_TRUE(g.running);
  EXPECT_EQ(g.position, 42);
  engine.ControlGraph(GraphCommand::StopAndRewind);
  EXPECT_TRUE(g.stopped);
  EXPECT_EQ(g.position, 0);
  EXPECT_EQ(engine.graphState(), modDirectx::GraphState::Stopped);  // reported as stopped, not playing
}

TEST_F(EngineTest, ATrackEndsOnlyExactlyAtAKnownDuration) {
  EXPECT_FALSE(engine.TrackEnded(0));  // no graph yet
  ASSERT_TRUE(engine.PlayTrack("/music/a.mp3"));
  EXPECT_TRUE(engine.TrackEnded(200.5));
  EXPECT_FALSE(engine.TrackEnded(200.4));
  EXPECT_FALSE(engine.TrackEnded(200.6));  // past the end is not the end
  app.media.files["/music/zero.mp3"] = {0};
  ASSERT_TRUE(engine.PlayTrack("/music/zero.mp3"));
  EXPECT_FALSE(engine.TrackEnded(0));  // an unknown length never ends
}

}  // namespace
}  // namespace kestrafon
