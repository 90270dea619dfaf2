#include <gtest/gtest.h>

#include "fakes/test_app.h"

namespace kestrafon {
namespace {

using fakes::CoordinatePixel;
using fakes::kButtonsId;
using fakes::kPartsId;
using fakes::TestApp;
using seam::Key;

// A started player whose playlist window is shown with `n` entries, the
// rows at `min` .. `max` and `selected` highlighted.
struct KeysApp : TestApp {
  explicit KeysApp(int n, std::int32_t min = 1, std::int32_t max = 13, std::int32_t selected = 1) {
    Start();
    for (int i = 1; i <= n; ++i) ctx.tracks().Append("/m/" + std::to_string(i) + ".mp3");
    ctx.tracks().SetVisible({min, max});
    ctx.tracks().SelectEntry(selected);
    ctx.playlistWindow().Show();
  }
  void Press(Key key) { desktop.playlist->sink->OnKeyDown(key); }
  void Press(Key key, int times) {
    for (int i = 0; i < times; ++i) Press(key);
  }
  // The rows, the selection and how many row texts were drawn so far.
  struct View {
    std::int32_t min, max, selected;
    friend bool operator==(const View&, const View&) = default;
    friend std::ostream& operator<<(std::ostream& os, const View& v) {
      return os << "rows " << v.min << ".." << v.max << " selection " << v.selected;
    }
  };
  View Now() {
    const VisibleRows rows = ctx.tracks().Visible();
    return {rows.first, rows.last, ctx.tracks().SelectedEntry()};
  }
  std::size_t Repaints() const { return text.On(*ctx.playlistWindow().faceImage()).size(); }
};

using View = KeysApp::View;

TEST(PlaylistKeys, ShortListsNeverScroll) {
  for (int n : {0, 1, 5, 13}) {
    KeysApp app(n);
    const std::size_t painted = app.Repaints();
    app.Press(Key::PageDown);
    app.Press(Key::PageUp);
    EXPECT_EQ(app.Repaints(), painted) << "page keys do nothing at all, " << n;
    app.Press(Key::Down, 20);
    EXPECT_EQ(app.Now(), (View{1, 13, n < 1 ? 1 : n})) << n;
    app.Press(Key::Up);
    EXPECT_EQ(app.Now(), (View{1, 13, n <= 1 ? 1 : n - 1})) << n;
    app.Press(Key::Up, 20);
    EXPECT_EQ(app.Now(), (View{1, 13, 1})) << n;
  }
}

TEST(PlaylistKeys, ArrowsMoveRowsAndSelectionTogetherUntilAnEnd) {
  KeysApp app(20);
  app.Press(Key::Down);
  EXPECT_EQ(app.Now(), (View{2, 14, 2}));
  app.Press(Key::Down, 6);
  EXPECT_EQ(app.Now(), (View{8, 20, 8}));
  app.Press(Key::Down);
  EXPECT_EQ(app.Now(), (View{8, 20, 9}));
  app.Press(Key::Down, 20);
  EXPECT_EQ(app.Now(), (View{8, 20, 20}));

  KeysApp up(20, 8, 20, 12);
  up.Press(Key::Up);
  EXPECT_EQ(up.Now(), (View{7, 19, 11}));
  up.Press(Key::Up, 6);
  EXPECT_EQ(up.Now(), (View{1, 13, 5}));
  up.Press(Key::Up, 10);
  EXPECT_EQ(up.Now(), (View{1, 13, 1}));
}

TEST(PlaylistKeys, UpOnTheFirstEntryStillScrollsTheRows) {
  KeysApp app(20, 4, 16, 1);
  app.Press(Key::Up);
  EXPECT_EQ(app.Now(), (View{3, 15, 1}));
}

TEST(PlaylistKeys, RowsLeftBeyondAShortenedListComeBackIntoView) {
  // A Remove can leave the rows at 2 .. 14 over 13 entries; the next
  // repaint shows rows 1 .. 13 again.
  KeysApp app(13, 2, 14, 7);
  app.Press(Key::Up);
  EXPECT_EQ(app.Now(), (View{1, 13, 6}));
  app.Press(Key::PageUp);
  app.Press(Key::Down);
  EXPECT_EQ(app.Now(), (View{1, 13, 7}));
}

TEST(PlaylistKeys, ArrowsRepaintEvenWhenNothingMoves) {
  KeysApp app(3, 1, 13, 3);
  const std::size_t painted = app.Repaints();
  app.Press(Key::Down);
  EXPECT_EQ(app.Now(), (View{1, 13, 3}));
  EXPECT_EQ(app.Repaints(), painted + 3);
}

TEST(PlaylistKeys, PageKeysMoveOnlyByWholePages) {
  KeysApp app(20, 1, 13, 3);
  app.Press(Key::PageDown);
  EXPECT_EQ(app.Now(), (View{6, 18, 8}));
  const std::size_t painted = app.Repaints();
  app.Press(Key::PageDown);  // 20 < 18 + 5
  EXPECT_EQ(app.Now(), (View{6, 18, 8}));
  EXPECT_EQ(app.Repaints(), painted);
  app.Press(Key::PageUp);
  EXPECT_EQ(app.Now(), (View{1, 13, 3}));

  KeysApp near(20, 3, 15, 10);
  near.Press(Key::PageUp);
  EXPECT_EQ(near.Now(), (View{3, 15, 10}));

  // A selection within 5 of the end scrolls away with the rows behind it.
  KeysApp far(30, 1, 13, 25);
  far.Press(Key::PageDown);
  EXPECT_EQ(far.Now(), (View{6, 18, 25}));
  far.Press(Key::PageDown, 5);
  EXPECT_EQ(far.Now(), (View{16, 28, 25})) << "two more pages fit, then nothing";

  // Page Up keeps a selection of 5 or less where it is.
  KeysApp top(30, 11, 23, 5);
  top.Press(Key::PageUp);
  EXPECT_EQ(top.Now(), (View{6, 18, 5}));
  KeysApp edge(30, 6, 18, 6);
  edge.Press(Key::PageUp);
  EXPECT_EQ(edge.Now(), (View{1, 13, 1}));
}

TEST(PlaylistKeys, OtherKeysDoNothing) {
  KeysApp app(20, 4, 16, 6);
  const std::size_t painted = app.Repaints();
  app.Press(Key::Other);
  EXPECT_EQ(app.Now(), (View{4, 16, 6}));
  EXPECT_EQ(app.Repaints(), painted);
  EXPECT_TRUE(app.media.graphs.empty());
  EXPECT_FALSE(app.ctx.tracks().IsPlaying());
}

// --- Enter -----------------------------------------------------------------

TEST(PlaylistEnter, PlaysTheSelectedEntryWithThePlayersPlayingLook) {
  KeysApp app(0);
  app.AddTracks({{"/m/a.mp3", 200}, {"/m/b.mp3", 200}, {"/m/c.mp3", 200}});
  app.ctx.tracks().SelectEntry(2);
  app.Press(Key::Enter);

  ASSERT_EQ(app.media.graphs.size(), 1u);
  EXPECT_EQ(app.media.last().path, "/m/b.mp3");
  EXPECT_TRUE(app.media.last().running);
  EXPECT_TRUE(app.ctx.tracks().IsPlaying());
  EXPECT_EQ(app.ctx.tracks().CurrentEntry(), 2);
  EXPECT_TRUE(app.ctx.timer().Ticking());
  EXPECT_EQ(app.ctx.timer().Interval(), 100);
  EXPECT_EQ(app.desktop.armedInterval, 100);

  // Pressed play button, empty time bar, "00:00", all on screen.
  const Image& shown = app.desktop.player.presented;
  EXPECT_EQ(shown.Pixel(136, 149), CoordinatePixel(kButtonsId, 115, 3));
  EXPECT_EQ(shown.Pixel(165, 178), CoordinatePixel(kButtonsId, 144, 32));
  EXPECT_EQ(shown.Pixel(24, 110), CoordinatePixel(kPartsId, 0, 227));
  const auto clock = app.text.On(app.ctx.playerWindow().clockPanel());
  ASSERT_EQ(clock.size(), 1u);
  EXPECT_EQ(clock[0].text, "00:00");
  EXPECT_EQ(clock[0].x, 10);
  EXPECT_EQ(clock[0].y, 10);

  // The selected row is now the current one.
  const auto rows = app.text.On(*app.ctx.playlistWindow().faceImage());
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[rows.size() - 2].text, "b.mp3");
  EXPECT_EQ(rows[rows.size() - 2].color, kCurrentRowColour);
  // Nothing else of the player's state is touched.
  EXPECT_FALSE(app.ctx.tracks().PauseToggled() || app.ctx.tracks().Repeats());
}

TEST(PlaylistEnter, WhilePlayingOnlySwitchesTheTrack) {
  KeysApp app(0);
  app.AddTracks({{"/m/a.mp3", 200}, {"/m/b.mp3", 200}});
  app.Press(Key::Enter);
  // Mark the play button so a second copy would show.
  app.ctx.playerWindow().face().Draw(skin::kPlayReleased);
  app.ctx.timer().Interval(250);
  app.ctx.tracks().SelectEntry(2);
  app.Press(Key::Enter);

  ASSERT_EQ(app.media.graphs.size(), 2u);
  EXPECT_TRUE(app.media.graphs[0]->released);
  EXPECT_EQ(app.media.last().path, "/m/b.mp3");
  EXPECT_TRUE(app.media.last().running);
  EXPECT_EQ(app.ctx.tracks().CurrentEntry(), 2);
  EXPECT_EQ(app.face().Pixel(136, 149), CoordinatePixel(kButtonsId, 115, 38));
  EXPECT_EQ(app.ctx.timer().Interval(), 250);
}

TEST(PlaylistEnter, TheTimeBarGrowsFromNothingForTheNewTrack) {
  KeysApp app(0);
  // 10 seconds: 13 pixels a second plus one for each of the first 4.
  app.AddTracks({{"/m/a.mp3", 10}, {"/m/b.mp3", 10}});
  app.Press(Key::Enter);
  TimeBar& bar = app.ctx.timeBar();
  ASSERT_TRUE(bar.scale().shortTrack);
  ASSERT_EQ(bar.scale().step, 13);
  bar.AdvanceTo(1);
  bar.AdvanceTo(2);
  EXPECT_EQ(app.face().Pixel(24 + 27, 111), CoordinatePixel(kPartsId, 27, 72));

  app.ctx.tracks().SelectEntry(2);
  app.Press(Key::Enter);
  EXPECT_EQ(app.face().Pixel(24, 111), CoordinatePixel(kPartsId, 0, 228)) << "empty bar";
  bar.AdvanceTo(1);
  EXPECT_EQ(app.face().Pixel(24 + 13, 111), CoordinatePixel(kPartsId, 13, 72));
  EXPECT_EQ(app.face().Pixel(24 + 14, 111), CoordinatePixel(kPartsId, 14, 228));
}

TEST(PlaylistEnter, OnAnEmptyListOpensNothingButStartsTheClock) {
  KeysApp app(0);
  app.Press(Key::Enter);
  ASSERT_EQ(app.media.graphs.size(), 1u);
  EXPECT_EQ(app.media.last().path, "");
  EXPECT_EQ(app.ctx.engine().graph(), nullptr);
  EXPECT_TRUE(app.ctx.tracks().IsPlaying());
  EXPECT_EQ(app.desktop.armedInterval, 100);
  EXPECT_EQ(app.ctx.tracks().CurrentEntry(), 1);
}

}  // namespace
}  // namespace kestrafon
