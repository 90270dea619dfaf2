#include <gtest/gtest.h>

#include "fakes/test_app.h"

namespace kestrafon {
namespace {

using fakes::TestApp;

TEST(PlayerState, AFreshPlayerShowsTheFirstThirteenTracksWithTrackOneCurrent) {
  // Nothing set but the tracks: the rows start at track 1, thirteen of
  // them, and track 1 is the current (blue) one with no other highlighted.
  TestApp app;
  clsPlayer& p = app.ctx.gPlayer();
  app.ctx.playList().Load();
  p.SetPlayList();
  EXPECT_TRUE(app.text.On(*app.ctx.playList().faceImage()).empty()) << "an empty list paints no row";

  for (int i = 1; i <= 20; ++i) p.AryMp3File("/m/" + std::to_string(i) + ".mp3");
  app.text.drawn.clear();
  p.SetPlayList();
  const auto rows = app.text.On(*app.ctx.playList().faceImage());
  ASSERT_EQ(rows.size(), 13u);
  EXPECT_EQ(rows.front().text, "1.mp3");
  EXPECT_EQ(rows.back().text, "13.mp3");
  EXPECT_EQ(rows.front().color, (Rgb{140, 170, 255}));
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i].color, (Rgb{255, 255, 255})) << i;
}

TEST(PlayerState, AppendsAndCountsTracks) {
  TestApp app;
  clsPlayer& p = app.ctx.gPlayer();
  p.AryMp3File("C:\\Music\\a.mp3");
  EXPECT_EQ(p.mscFileCount(), 1);
  EXPECT_EQ(p.GetMp3Name(1), "C:\\Music\\a.mp3");
  EXPECT_EQ(p.GetMp3Name(0), "");
  p.AryMp3File("/b.mp3");
  p.AryMp3File("/b.mp3");  // duplicates are kept
  EXPECT_EQ(p.mscFileCount(), 3);
  EXPECT_EQ(p.GetMp3Name(3), "/b.mp3");
  EXPECT_EQ(p.GetMp3Name(4), "");
}

TEST(PlayerState, SelectionIsCheckedOnlyAgainstTheCount) {
  TestApp app;
  clsPlayer& p = app.ctx.gPlayer();
  for (int i = 0; i < 3; ++i) p.AryMp3File("t" + std::to_string(i));
  p.SelectPlayList(4);
  EXPECT_EQ(p.SelectPlayList(), 1);
  p.SelectPlayList(3);
  EXPECT_EQ(p.SelectPlayList(), 3);
  p.SelectPlayList(0);
  EXPECT_EQ(p.SelectPlayList(), 0);
  p.SelectPlayList(-2);
  EXPECT_EQ(p.SelectPlayList(), -2);
}

TEST(PlayerState, VolumeFollowsTheKnobOnlyWhileATrackIsOpen) {
  TestApp app;
  clsPlayer& p = app.ctx.gPlayer();
  EXPECT_TRUE(p.SetAudioVolume(280));  // no track: nothing, no error
  EXPECT_TRUE(app.media.graphs.empty());

  app.media.files["/a.mp3"] = {10};
  ASSERT_TRUE(app.ctx.engine().PlayTrack("/a.mp3"));
  auto& g = app.media.last();
  for (auto [x, expected] : {std::pair{206, -6400}, {280, -480}, {282, -320}, {286, 0}}) {
    EXPECT_TRUE(p.SetAudioVolume(x));
    EXPECT_EQ(g.volume, expected) << x;
  }
  g.volumeFails = true;
  EXPECT_FALSE(p.SetAudioVolume(250));  // the framework's refusal reaches the caller
}

}  // namespace
}  // namespace kestrafon
