#include <gtest/gtest.h>

#include <map>

#include "control/clock_text.h"
#include "fakes/test_app.h"
#include "unit/player_face_checks.h"

namespace kestrafon {
namespace {

using fakes::CoordinatePixel;
using fakes::kButtonsId;
using fakes::kFaceId;
using fakes::kPartsId;
using fakes::TestApp;
using facecheck::FillWidth;
using facecheck::Shows;
using namespace skin;

TEST(SheetMap, LitOptionButtonsLieInTheLitPanelAtItsOffset) {
  // Each button's destination is its sheet position moved by its panel's origin.
  for (auto [button, panel] : {std::pair{kOnTopUnlit, kOptionPanelUnlit}, {kPlaylistUnlit, kOptionPanelUnlit},
                               {kRepeatUnlit, kOptionPanelUnlit}, {kOnTopLit, kOptionPanelLit},
                               {kPlaylistLit, kOptionPanelLit}, {kRepeatLit, kOptionPanelLit}}) {
    EXPECT_EQ(button.destX - panel.destX, button.source.x - panel.source.x);
    EXPECT_EQ(button.destY - panel.destY, button.source.y - panel.source.y);
  }
  EXPECT_EQ(kMinimisePressed.destX, 254);
}

TEST(FaceProcedures, StartUpComposesTheFaceInOrder) {
  TestApp app;
  app.Start();
  const Image& face = app.face();
  EXPECT_TRUE(Shows(face, kTransportRowReleased));
  EXPECT_TRUE(Shows(face, kTitleButtonsReleased));
  EXPECT_TRUE(Shows(face, kOptionPanelUnlit));
  // The knob is drawn over the volume bar area of the background.
  EXPECT_TRUE(Shows(face, {Sheet::Parts, kVolumeKnob, 280, 106}));
  EXPECT_EQ(face.Pixel(279, 106), CoordinatePixel(kFaceId, 279, 106));
  // Untouched background elsewhere, and black text panels.
  EXPECT_EQ(face.Pixel(5, 100), CoordinatePixel(kFaceId, 5, 100));
  EXPECT_EQ(face.Pixel(kTitlePanel.x, kTitlePanel.y), 0xFF000000u);
  EXPECT_EQ(face.Pixel(kTimePanel.x + kTimePanel.w - 1, kTimePanel.y + kTimePanel.h - 1), 0xFF000000u);
  // What the window shows is the whole composed face.
  EXPECT_EQ(app.desktop.player.presented, face);
}

TEST(TimeBar, FillsToTheEndAndClearsToTheEmptyTrack) {
  TestApp app;
  app.Start();
  TimeBar& bar = app.ctx.timeBar();
  bar.SetScale(134);  // one pixel a second
  for (int s = 1; s <= 134; ++s) bar.AdvanceTo(s);
  EXPECT_EQ(FillWidth(app.face()), 134);
  bar.Clear();
  EXPECT_TRUE(Shows(app.face(), kTimeBarTrack));
}

// Drives one track's bar through every whole second and records the fill
// width after each second at which it grew.
std::map<int, int> FillSchedule(TestApp& app, double duration) {
  TimeBar& bar = app.ctx.timeBar();
  bar.SetScale(WholeSeconds(duration));
  std::map<int, int> widths;
  for (int s = 0; s <= int(duration); ++s) {
    for (int tick = 0; tick < 10; ++tick) bar.AdvanceTo(s);  // ten ticks a second, as the timer gives
    const int width = FillWidth(app.face());
    if (width > 0 && (widths.empty() || widths.rbegin()->second != width)) widths[s] = width;
  }
  return widths;
}

TEST(TimeBar, LongTrackGrowsOnePixelEveryFewSeconds) {
  TestApp app;
  app.Start();
  auto widths = FillSchedule(app, 200.5);
  EXPECT_EQ(app.ctx.timeBar().scale().step, 1);
  EXPECT_EQ(app.ctx.timeBar().scale().remainder, 66);
  EXPECT_EQ(widths.at(0), 2);
  EXPECT_EQ(widths.at(2), 3);
  EXPECT_EQ(widths.at(132), 68);
  EXPECT_EQ(widths.at(133), 69);
  EXPECT_EQ(widths.at(198), 134);
  EXPECT_EQ(widths.rbegin()->first, 198);
}

TEST(TimeBar, TrackOf135SecondsIsLongAndFullAt133) {
  TestApp app;
  app.Start();
  auto widths = FillSchedule(app, 135);
  EXPECT_FALSE(app.ctx.timeBar().scale().shortTrack);
  EXPECT_EQ(app.ctx.timeBar().scale().remainder, 1);
  EXPECT_EQ(widths.at(0), 2);
  EXPECT_EQ(widths.at(2), 3);
  EXPECT_EQ(widths.at(3), 4);
  EXPECT_EQ(widths.at(133), 134);
}

TEST(TimeBar, ShortTracksGrowSeveralPixelsASecond) {
  TestApp app;
  app.Start();
  auto widths = FillSchedule(app, 60.3);
  const TimeBar::Scale& scale = app.ctx.timeBar().scale();
  EXPECT_TRUE(scale.shortTrack);
  EXPECT_EQ(scale.step, 2);
  EXPECT_EQ(scale.remainder, 14);
  EXPECT_EQ(widths.count(0), 0u);  // nothing during second 0
  EXPECT_EQ(widths.at(1), 3);
  EXPECT_EQ(widths.at(14), 42);
  EXPECT_EQ(widths.at(15), 44);
  EXPECT_EQ(widths.at(60), 134);

  TestApp exact;
  exact.Start();
  auto w134 = FillSchedule(exact, 134);
  const TimeBar::Scale& exactScale = exact.ctx.timeBar().scale();
  EXPECT_TRUE(exactScale.shortTrack);
  EXPECT_EQ(exactScale.step, 1);
  EXPECT_EQ(exactScale.remainder, 0);
  EXPECT_EQ(w134.at(1), 1);
  EXPECT_EQ(w134.at(134), 134);
}

TEST(TimeBar, SubSecondTrackKeepsThePreviousScale) {
  TestApp app;
  TimeBar& bar = app.ctx.timeBar();
  bar.SetScale(60);
  bar.SetScale(0);
  EXPECT_EQ(bar.scale().step, 2);
  EXPECT_EQ(bar.scale().remainder, 14);
  EXPECT_TRUE(bar.scale().shortTrack);
}

TEST(TimeBar, ResetStartsTheFillAfresh) {
  TestApp app;
  app.Start();
  TimeBar& bar = app.ctx.timeBar();
  bar.SetScale(268);  // two seconds a pixel
  bar.AdvanceTo(0);
  bar.AdvanceTo(2);  // fill 3
  EXPECT_EQ(FillWidth(app.face()), 3);
  bar.Clear();
  bar.Reset();
  EXPECT_TRUE(Shows(app.face(), kTimeBarTrack));
  bar.AdvanceTo(0);  // the next second 0 draws two pixels again
  EXPECT_EQ(FillWidth(app.face()), 2);

  // A short track stopped halfway grows again from second 1 after the reset.
  bar.SetScale(60);
  bar.Reset();
  for (int s : {1, 2}) bar.AdvanceTo(s);  // fill 6
  EXPECT_EQ(FillWidth(app.face()), 6);
  bar.Clear();
  bar.Reset();
  bar.AdvanceTo(1);
  EXPECT_EQ(FillWidth(app.face()), 3);
}

}  // namespace
}  // namespace kestrafon
