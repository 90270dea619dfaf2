#include <gtest/gtest.h>

#include "fakes/test_app.h"

namespace kestrafon {
namespace {

using fakes::TestApp;

TEST(PlayerState, AFreshPlayerShowsTheFirstThirteenTracksWithTrackOneCurrent) {
  // Nothing set but the tracks: the rows start at track 1, thirteen of
  // them, and track 1 is the current (blue) one with no other highlighted.
  TestApp app;
  TrackList& p = app.ctx.tracks();
  app.ctx.playlistWindow().Load();
  p.PaintRows();
  EXPECT_TRUE(app.text.On(*app.ctx.playlistWindow().faceImage()).empty()) << "an empty list paints no row";

  for (int i = 1; i <= 20; ++i) p.Append("/m/" + std::to_string(i) + ".mp3");
  app.text.drawn.clear();
  p.PaintRows();
  const auto rows = app.text.On(*app.ctx.playlistWindow().faceImage());
  ASSERT_EQ(rows.size(), 13u);
  EXPECT_EQ(rows.front().text, "1.mp3");
  EXPECT_EQ(rows.back().text, "13.mp3");
  EXPECT_EQ(rows.front().color, (Rgb{140, 170, 255}));
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i].color, (Rgb{255, 255, 255})) << i;
}

TEST(PlayerState, AppendsAndCountsTracks) {
  TestApp app;
  TrackList& p = app.ctx.tracks();
  p.Append("C:\\Music\\a.mp3");
  EXPECT_EQ(p.Count(), 1);
  EXPECT_EQ(p.PathAt(1), "C:\\Music\\a.mp3");
  EXPECT_EQ(p.PathAt(0), "");
  p.Append("/b.mp3");
  p.Append("/b.mp3");  // duplicates are kept
  EXPECT_EQ(p.Count(), 3);
  EXPECT_EQ(p.PathAt(3), "/b.mp3");
  EXPECT_EQ(p.PathAt(4), "");
}

TEST(PlayerState, SelectionIsCheckedOnlyAgainstTheCount) {
  TestApp app;
  TrackList& p = app.ctx.tracks();
  for (int i = 0; i < 3; ++i) p.Append("t" + std::to_string(i));
  p.SelectEntry(4);
  EXPECT_EQ(p.SelectedEntry(), 1);
  p.SelectEntry(3);
  EXPECT_EQ(p.SelectedEntry(), 3);
  p.SelectEntry(0);
  EXPECT_EQ(p.SelectedEntry(), 0);
  p.SelectEntry(-2);
  EXPECT_EQ(p.SelectedEntry(), -2);
}

TEST(PlayerState, VolumeFollowsTheKnobOnlyWhileATrackIsOpen) {
  TestApp app;
  ControlSurface& control = app.ctx.control();
  control.SetKnobVolume(280);  // no track: nothing to set
  EXPECT_TRUE(app.media.graphs.empty());

  app.AddTracks({{"/a.mp3", 10}});
  control.PlayEntry(1);
  auto& g = app.media.last();
  for (auto [x, expected] : {std::pair{206, -6400}, {280, -480}, {282, -320}}) {
    control.SetKnobVolume(x);
    EXPECT_EQ(g.volume, expected) << x;
  }
}

}  // namespace
}  // namespace kestrafon
