// Whole lists played to their end on real GStreamer graphs: the player on
// fake windows, real MP3 files, the playback tick driven every 100 ms.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fixtures/mp3_fixtures.h"
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
  p.ctx.playerWindow().OnMouseDown(platform::kLeftButton, 250, 87);  // the repeat button
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

}  // namespace
}  // namespace kestrafon
