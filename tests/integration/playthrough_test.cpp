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
  p.ctx.player().Form_Load();
  for (auto& path : paths) p.ctx.gPlayer().AryMp3File(path);
  p.ClickPlay();
  ASSERT_TRUE(p.ctx.gPlayer().CheckPlay());
  ASSERT_TRUE(p.ctx.timer().Ticking());

  std::vector<std::int32_t> seen{p.ctx.gPlayer().playListNumber()};
  p.TickWhile(
      [&] {
        if (seen.back() != p.ctx.gPlayer().playListNumber()) seen.push_back(p.ctx.gPlayer().playListNumber());
        return p.ctx.timer().Ticking();
      },
      15s);

  EXPECT_FALSE(p.ctx.timer().Enabled());
  EXPECT_FALSE(p.ctx.gPlayer().CheckPlay());
  EXPECT_EQ(p.ctx.gPlayer().playListNumber(), 1);
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2, 3, 1}));
  // The last graph is stopped and rewound.
  double position = -1;
  ASSERT_NE(p.ctx.engine().currentGraph(), nullptr);
  ASSERT_TRUE(p.ctx.engine().currentGraph()->CurrentPosition(position));
  EXPECT_EQ(position, 0);
}

TEST_F(PlayThrough, WithRepeatTheListStartsAgainAtTrackOne) {
  RealPlayer p;
  p.ctx.player().Form_Load();
  for (auto& path : paths) p.ctx.gPlayer().AryMp3File(path);
  p.ctx.player().Form_MouseDown(platform::kLeftButton, 250, 87);  // the repeat button
  ASSERT_TRUE(p.ctx.gPlayer().CheckRepeat());
  p.ClickPlay();

  bool reachedThird = false, wrapped = false;
  p.TickWhile(
      [&] {
        if (p.ctx.gPlayer().playListNumber() == 3) reachedThird = true;
        if (reachedThird && p.ctx.gPlayer().playListNumber() == 1) wrapped = true;
        return !wrapped;
      },
      15s);
  EXPECT_TRUE(wrapped);
  EXPECT_TRUE(p.ctx.timer().Ticking());
  EXPECT_TRUE(p.ctx.gPlayer().CheckPlay());
  // Track 1 plays again from its start.
  p.TickWhile([&] { double pos = 0; return p.ctx.engine().currentGraph()->CurrentPosition(pos) && pos <= 0; }, 3s);
  double pos = 0;
  ASSERT_TRUE(p.ctx.engine().currentGraph()->CurrentPosition(pos));
  EXPECT_GT(pos, 0);
  EXPECT_LT(pos, 1.0);
}

}  // namespace
}  // namespace kestrafon
