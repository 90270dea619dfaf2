// Whole lists played to their end on real GStreamer graphs: the player on
// fake windows, real MP3 files, the playback tick driven every 100 ms.
// Tracks join without a gap; a file that cannot follow is met as before.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "fixtures/mp3_fixtures.h"
#include "fixtures/scoped_env.h"
#include "fixtures/tone_joints.h"
#include "real_player.h"

namespace kestrafon {
namespace {

using namespace std::chrono_literals;

class PlayThrough : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 1; i <= 3; ++i) {
      paths.push_back(dir.File("track" + std::to_string(i) + ".mp3"));
      ASSERT_TRUE(fixtures::MakeMp3(paths.back(), 1.0));
    }
  }
  fixtures::TempDir dir;
  std::vector<std::string> paths;
};

TEST_F(PlayThrough, WithoutRepeatTheListStopsAfterItsLastTrack) {
  RealPlayer p;
  p.ctx.playerWindow().Load();
  for (auto& path : paths) p.ctx.tracks().Append(path);
  p.ClickPlay();
  ASSERT_TRUE(p.ctx.tracks().IsPlaying());
  ASSERT_TRUE(p.ctx.timer().Ticking());

  std::vector<std::int32_t> seen{p.ctx.tracks().CurrentEntry()};
  p.TickWhile(
      [&] {
        if (seen.back() != p.ctx.tracks().CurrentEntry()) seen.push_back(p.ctx.tracks().CurrentEntry());
        return p.ctx.timer().Ticking();
      },
      15s);

  EXPECT_FALSE(p.ctx.timer().Enabled());
  EXPECT_FALSE(p.ctx.tracks().IsPlaying());
  EXPECT_EQ(p.ctx.tracks().CurrentEntry(), 1);
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2, 3, 1}));
  // The last graph is stopped and rewound.
  double position = -1;
  ASSERT_NE(p.ctx.engine().graph(), nullptr);
  ASSERT_TRUE(p.ctx.engine().graph()->CurrentPosition(position));
  EXPECT_EQ(position, 0);
}

TEST_F(PlayThrough, WithRepeatTheListStartsAgainAtTrackOne) {
  RealPlayer p;
  p.ctx.playerWindow().Load();
  for (auto& path : paths) p.ctx.tracks().Append(path);
  p.ctx.playerWindow().OnMouseDown(seam::kLeftButton, 250, 87);  // the repeat button
  ASSERT_TRUE(p.ctx.tracks().Repeats());
  p.ClickPlay();

  bool reachedThird = false, wrapped = false;
  p.TickWhile(
      [&] {
        if (p.ctx.tracks().CurrentEntry() == 3) reachedThird = true;
        if (reachedThird && p.ctx.tracks().CurrentEntry() == 1) wrapped = true;
        return !wrapped;
      },
      15s);
  EXPECT_TRUE(wrapped);
  EXPECT_TRUE(p.ctx.timer().Ticking());
  EXPECT_TRUE(p.ctx.tracks().IsPlaying());
  // Track 1 plays again from its start.
  p.TickWhile([&] { double pos = 0; return p.ctx.engine().graph()->CurrentPosition(pos) && pos <= 0; }, 3s);
  double pos = 0;
  ASSERT_TRUE(p.ctx.engine().graph()->CurrentPosition(pos));
  EXPECT_GT(pos, 0);
  EXPECT_LT(pos, 1.0);
}

// One tone cut into three pieces at offsets no MP3 frame lines up with plays
// back sample for sample as the pieces decoded each on its own (nothing
// lost, nothing added at the joints), and all of it through one graph, so
// the sound output never stops between them.
TEST(Gapless, PiecesOfOneToneJoinSampleForSample) {
  fixtures::TempDir dir;
  const fixtures::CutTone tone = fixtures::MakeCutTone(dir.File("piece"), 132300 + 1234, {44100 + 577, 88200 - 1000});
  ASSERT_EQ(tone.paths.size(), 3u);
  const std::string played = dir.File("played.raw");
  fixtures::ScopedEnv sink("KESTRAFON_AUDIO_SINK", "file:" + played);
  RealPlayer p(platform::gst::AudioOutput::kDevice);
  p.ctx.playerWindow().Load();
  for (auto& path : tone.paths) p.ctx.tracks().Append(path);
  // A first start and stop leaves the output at the knob's volume from the
  // first sample on (a fresh framework prerolls at full volume).
  p.ClickPlay();
  p.Click(185, 160);  // Stop
  ASSERT_FALSE(p.ctx.tracks().IsPlaying());
  std::filesystem::resize_file(played, 0);

  std::vector<std::int32_t> seen;
  p.ClickPlay();
  const seam::MediaGraph* graph = p.ctx.engine().graph();
  bool oneGraph = true;
  p.TickWhile(
      [&] {
        if (seen.empty() || seen.back() != p.ctx.tracks().CurrentEntry()) seen.push_back(p.ctx.tracks().CurrentEntry());
        oneGraph = oneGraph && p.ctx.engine().graph() == graph;
        return p.ctx.timer().Ticking();
      },
      15s);
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2, 3, 1}));
  EXPECT_TRUE(oneGraph);

  const std::vector<std::int16_t> samples = fixtures::ReadSamples(played);
  EXPECT_EQ(samples.size(), std::size_t(2 * (132300 + 1234)));
  const double knobGain = platform::gst::GainFromHundredthsDb(VolumeOfLevel(p.ctx.control().Volume()));
  EXPECT_TRUE(samples == fixtures::DecodeEachAlone(tone, knobGain));
}

// The second of three files is gone: when the first ends, the list moves on
// to it as always, and waits there, stopped, for the user.
TEST_F(PlayThrough, AMissingNextFileIsMetAsBefore) {
  RealPlayer p;
  p.ctx.playerWindow().Load();
  for (auto& path : paths) p.ctx.tracks().Append(path);
  std::filesystem::remove(paths[1]);
  p.ClickPlay();
  p.TickWhile([&] { return p.ctx.tracks().CurrentEntry() == 1; }, 5s);
  EXPECT_EQ(p.ctx.tracks().CurrentEntry(), 2);
  p.TickWhile([] { return true; }, 300ms);
  EXPECT_EQ(p.ctx.tracks().CurrentEntry(), 2);
  EXPECT_TRUE(p.ctx.tracks().IsPlaying());
  EXPECT_EQ(p.ctx.control().State(), PlaybackState::Stopped);
  EXPECT_EQ(p.ctx.engine().Position(), 0);
}

}  // namespace
}  // namespace kestrafon
