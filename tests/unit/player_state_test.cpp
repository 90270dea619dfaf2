#include <gtest/gtest.h>

#include "fakes/test_app.h"

namespace kestrafon {
namespace {

using fakes::TestApp;

TEST(PlayerState, StartsEmptyOnTrackOneWithEverythingOff) {
  TestApp app;
  clsPlayer& p = app.ctx.gPlayer();
  EXPECT_EQ(p.mscFileCount(), 0);
  EXPECT_EQ(p.playListNumber(), 1);
  EXPECT_EQ(p.SelectPlayList(), 1);
  std::int32_t min = -5, max = -5;
  p.ListMinMax(min, max, false);
  EXPECT_EQ(min, 1);
  EXPECT_EQ(max, 13);
  EXPECT_FALSE(p.CheckPlay() || p.CheckStop() || p.CheckTemporary() || p.CheckRepeat());
  EXPECT_EQ(p.VolumePos(), 0);
  EXPECT_EQ(p.GetMp3Name(1), "");
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

TEST(PlayerState, VisibleRangeIsStoredAndReadBack) {
  TestApp app;
  clsPlayer& p = app.ctx.gPlayer();
  std::int32_t min = 5, max = 17;
  p.ListMinMax(min, max, true);
  std::int32_t a = 0, b = 0;
  p.ListMinMax(a, b, false);
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 17);
}

TEST(PlayerState, ReshapingTheList) {
  TestApp app;
  clsPlayer& p = app.ctx.gPlayer();
  for (int i = 1; i <= 5; ++i) p.AryMp3File("t" + std::to_string(i));
  p.ChangePlayList(3);
  EXPECT_EQ(p.mscFileCount(), 3);
  EXPECT_EQ(p.GetMp3Name(3), "t3");
  p.AddPlayList(2, "p");
  EXPECT_EQ(p.mscFileCount(), 2);
  EXPECT_EQ(p.GetMp3Name(1), "t1");
  EXPECT_EQ(p.GetMp3Name(2), "p");
  p.ChangePlayList(4);  // padded with empty entries
  EXPECT_EQ(p.mscFileCount(), 4);
  EXPECT_EQ(p.GetMp3Name(4), "");
  p.ChangePlayList(0);
  EXPECT_EQ(p.mscFileCount(), 0);
  EXPECT_EQ(p.GetMp3Name(0), "");
  p.AryMp3File("again");
  EXPECT_EQ(p.mscFileCount(), 1);
  EXPECT_EQ(p.GetMp3Name(1), "again");
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
