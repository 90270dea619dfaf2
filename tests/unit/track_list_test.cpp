#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/test_app.h"

namespace kestrafon {
namespace {

using fakes::DrawnText;
using fakes::TestApp;

void Fill(TrackList& p, int n) {
  for (int i = 1; i <= n; ++i) p.Append("C:\\Music\\t" + std::to_string(i) + ".mp3");
}

std::vector<std::string> List(const TrackList& p) {
  std::vector<std::string> out;
  for (int i = 1; i <= p.Count(); ++i) out.push_back(p.PathAt(i));
  return out;
}

// --- list operations -------------------------------------------------------

TEST(TrackList, ResizeCutsPadsOrEmpties) {
  TestApp app;
  TrackList& p = app.ctx.tracks();
  Fill(p, 5);
  p.Resize(3);
  EXPECT_EQ(List(p), (std::vector<std::string>{"C:\\Music\\t1.mp3", "C:\\Music\\t2.mp3", "C:\\Music\\t3.mp3"}));

  p.Resize(1);
  p.Resize(3);
  EXPECT_EQ(List(p), (std::vector<std::string>{"C:\\Music\\t1.mp3", "", ""}));

  p.Resize(0);
  EXPECT_EQ(p.Count(), 0);
  EXPECT_EQ(p.PathAt(1), "");
  p.Append("x");  // appending starts again at track 1
  EXPECT_EQ(List(p), std::vector<std::string>{"x"});
}

TEST(TrackList, PathAtIsTheFullPathAndEmptyOutsideTheList) {
  TestApp app;
  TrackList& p = app.ctx.tracks();
  EXPECT_EQ(p.PathAt(0), "");  // never dimensioned
  EXPECT_EQ(p.PathAt(-1), "");
  Fill(p, 2);
  EXPECT_EQ(p.PathAt(2), "C:\\Music\\t2.mp3");  // the full path, not a display name
  EXPECT_EQ(p.PathAt(3), "");
  EXPECT_EQ(p.PathAt(0), "");
  p.Append("C:\\Music\\t2.mp3");  // duplicates are kept
  EXPECT_EQ(p.Count(), 3);
  EXPECT_EQ(p.PathAt(3), "C:\\Music\\t2.mp3");
}

TEST(TrackList, NegativeBoundsChangeNothing) {
  TestApp app;
  TrackList& p = app.ctx.tracks();
  Fill(p, 3);
  p.Resize(-2);
  EXPECT_EQ(p.Count(), 3);
  EXPECT_EQ(p.PathAt(3), "C:\\Music\\t3.mp3");
}

TEST(TrackList, ReshapingLeavesTrackNumbersAndTheVisibleRangeAlone) {
  TestApp app;
  TrackList& p = app.ctx.tracks();
  Fill(p, 20);
  p.SetCurrentEntry(18);
  p.SelectEntry(17);
  p.SetVisible({8, 20});
  p.Remove(4);
  p.Resize(2);
  p.Resize(0);
  EXPECT_EQ(p.CurrentEntry(), 18);
  EXPECT_EQ(p.SelectedEntry(), 17);
  EXPECT_EQ(p.Visible().first, 8);
  EXPECT_EQ(p.Visible().last, 20);
}

TEST(TrackList, SelectionIsCheckedOnlyAgainstTheCount) {
  TestApp app;
  TrackList& p = app.ctx.tracks();
  Fill(p, 3);
  for (auto [asked, kept] : {std::pair{4, 1}, {3, 3}, {0, 0}, {-2, -2}}) {
    p.SelectEntry(asked);
    EXPECT_EQ(p.SelectedEntry(), kept) << asked;
  }
}

// --- row text --------------------------------------------------------------

TEST(RowText, ShowsTheNameWithALowerCaseMp3Extension) {
  EXPECT_EQ(RowText("C:\\Music\\Song.MP3"), "Song.mp3");
  EXPECT_EQ(RowText("C:\\Music\\Song.mp3"), "Song.mp3");
  EXPECT_EQ(RowText("/home/u/Music/Song.wav"), "Song.mp3");
  EXPECT_EQ(RowText("D:\\a/b\\c/Mixed.mp3"), "Mixed.mp3");  // either separator
  EXPECT_EQ(RowText("NoDir.mp3"), "NoDir.mp3");
  EXPECT_EQ(RowText("C:\\音楽\\曲.mp3"), "曲.mp3");
}

TEST(RowText, NamesShorterThanTheExtensionNeverFail) {
  for (const char* path : {"", "a", "abc", "C:\\x\\ab", "C:\\dir\\", "/", "音"}) {
    EXPECT_EQ(RowText(path), ".mp3") << path;
  }
  EXPECT_EQ(RowText("C:\\x\\a.mp"), ".mp3");
  EXPECT_EQ(RowText("C:\\x\\ab.mp"), "a.mp3");
}

TEST(RowText, LongSingleByteNamesKeepTwentyCharacters) {
  const std::string twenty = "abcdefghijklmnopqrst";
  EXPECT_EQ(RowText("C:\\" + twenty + ".mp3"), twenty + ".mp3");
  EXPECT_EQ(RowText("C:\\" + twenty + "u.mp3"), twenty + "~.mp3");
  EXPECT_EQ(RowText("C:\\" + twenty + "uvwxyz0123.mp3"), twenty + "~.mp3");
  // Half-width katakana and characters outside the code page that are
  // narrow count one byte each.
  std::string kana;
  for (int i = 0; i < 21; ++i) kana += "ｱ";
  EXPECT_EQ(RowText(kana + ".mp3"), kana.substr(0, 20 * 3) + "~.mp3");
  std::string accents;
  for (int i = 0; i < 21; ++i) accents += "é";
  EXPECT_EQ(RowText(accents + ".mp3"), accents.substr(0, 20 * 2) + "~.mp3");
}

TEST(RowText, LongDoubleByteNamesKeepTenCharacters) {
  const std::string ten = "一二三四五六七八九十";  // 20 bytes
  EXPECT_EQ(RowText("C:\\" + ten + ".mp3"), ten + ".mp3");
  EXPECT_EQ(RowText("C:\\" + ten + "百.mp3"), ten + "~.mp3");
  // One double-byte character among single-byte ones: ten characters.
  EXPECT_EQ(RowText("C:\\音abcdefghijklmnopqrs.mp3"), "音abcdefghi~.mp3");
  // Emoji count two bytes, like a double-byte character.
  std::string emoji;
  for (int i = 0; i < 11; ++i) emoji += "😀";
  EXPECT_EQ(RowText(emoji + ".mp3"), emoji.substr(0, 10 * 4) + "~.mp3");
  EXPECT_EQ(RowText(emoji.substr(0, 10 * 4) + ".mp3"), emoji.substr(0, 10 * 4) + ".mp3");
}

TEST(RowText, MalformedNamesAreShownWithoutFailing) {
  const std::string bad = "C:\\x\\\xE3\x81" + std::string(30, '\xFF') + ".mp3";
  const std::string row = RowText(bad);
  EXPECT_EQ(row, "\xE3\x81" + std::string(18, '\xFF') + "~.mp3");
}

// --- row painting ----------------------------------------------------------

class RowPainting : public testing::Test {
 protected:
  void SetUp() override {
    app.ctx.playlistWindow().Load();
    app.text.drawn.clear();
  }
  std::vector<DrawnText> Paint() {
    app.text.drawn.clear();
    app.ctx.tracks().PaintRows();
    return app.text.On(*app.ctx.playlistWindow().faceImage());
  }
  void Range(std::int32_t first, std::int32_t last) { app.ctx.tracks().SetVisible({first, last}); }
  // Rows min..last expected, at their places, with their texts.
  void ExpectRows(const std::vector<DrawnText>& rows, int first, int last) {
    ASSERT_EQ(int(rows.size()), last - first + 1);
    for (int i = first; i <= last; ++i) {
      const auto& r = rows[std::size_t(i - first)];
      EXPECT_EQ(r.x, 10);
      EXPECT_EQ(r.y, 15 + 12 * (i - first));
      EXPECT_EQ(r.text, "t" + std::to_string(i) + ".mp3");
    }
  }
  TestApp app;
  TrackList& p = app.ctx.tracks();
};

TEST_F(RowPainting, DrawsOneRowPerTrackUpToThirteen) {
  for (int n = 1; n <= 15; ++n) {
    p.Resize(0);
    Fill(p, n);
    SCOPED_TRACE(n);
    ExpectRows(Paint(), 1, std::min(n, 13));
  }
}

TEST_F(RowPainting, DrawsTheVisibleRangeOfALongList) {
  Fill(p, 30);
  Range(9, 21);
  ExpectRows(Paint(), 9, 21);
  Range(18, 30);
  ExpectRows(Paint(), 18, 30);
}

TEST_F(RowPainting, ARangeLeftPastTheEndMovesBackIntoView) {
  Fill(p, 30);
  Range(18, 30);
  p.Resize(20);  // the range reaches past the end: the last row shows the last track
  ExpectRows(Paint(), 8, 20);
  p.Resize(13);
  ExpectRows(Paint(), 1, 13);
  p.Resize(5);
  ExpectRows(Paint(), 1, 5);
  Range(3, 15);  // never moved before track 1
  ExpectRows(Paint(), 1, 5);
  EXPECT_EQ(p.Visible().first, 1);
  EXPECT_EQ(p.Visible().last, 13);
  // A range inside the list is left alone.
  p.Resize(0);
  Fill(p, 25);
  Range(6, 18);
  ExpectRows(Paint(), 6, 18);
}

TEST_F(RowPainting, AnEmptyListClearsTheRowsAndDrawsNothing) {
  Fill(p, 3);
  Paint();
  const Image& face = *app.ctx.playlistWindow().faceImage();
  ASSERT_NE(face.Pixel(10, 15), fakes::CoordinatePixel(fakes::kPlaylistId, 10, 15));  // the row's mark
  p.Resize(0);
  EXPECT_TRUE(Paint().empty());
  EXPECT_EQ(face.Pixel(10, 15), fakes::CoordinatePixel(fakes::kPlaylistId, 10, 15));
  EXPECT_EQ(face.Pixel(10, 27), fakes::CoordinatePixel(fakes::kPlaylistId, 10, 27));
}

TEST_F(RowPainting, CurrentTrackIsBlueHighlightedTrackGreenOthersWhite) {
  Fill(p, 6);
  p.SetCurrentEntry(3);
  p.SelectEntry(5);
  auto rows = Paint();
  ASSERT_EQ(rows.size(), 6u);
  for (int i = 1; i <= 6; ++i) {
    const Rgb want = i == 3 ? kCurrentRowColour : i == 5 ? kSelectedRowColour : kPlainRowColour;
    EXPECT_EQ(rows[std::size_t(i - 1)].color, want) << i;
  }
  EXPECT_EQ(kCurrentRowColour, (Rgb{140, 170, 255}));
  EXPECT_EQ(kSelectedRowColour, (Rgb{130, 255, 150}));
  EXPECT_EQ(kPlainRowColour, (Rgb{255, 255, 255}));

  p.SelectEntry(3);  // the same row: blue
  rows = Paint();
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(rows[std::size_t(i - 1)].color, i == 3 ? kCurrentRowColour : kPlainRowColour);

  p.SetCurrentEntry(1);  // the first row, and the row after it back to white
  p.SelectEntry(2);
  rows = Paint();
  EXPECT_EQ(rows[0].color, kCurrentRowColour);
  EXPECT_EQ(rows[1].color, kSelectedRowColour);
  EXPECT_EQ(rows[2].color, kPlainRowColour);
}

TEST_F(RowPainting, ColoursFollowTrackNumbersNotRowPositions) {
  Fill(p, 30);
  Range(11, 23);
  p.SetCurrentEntry(12);
  p.SelectEntry(23);
  const auto rows = Paint();
  ASSERT_EQ(rows.size(), 13u);
  EXPECT_EQ(rows[0].color, kPlainRowColour);
  EXPECT_EQ(rows[1].color, kCurrentRowColour);
  EXPECT_EQ(rows[12].color, kSelectedRowColour);
}

TEST_F(RowPainting, RowsShowShortenedNames) {
  p.Append("C:\\Music\\Song.MP3");
  p.Append("");  // an empty line of a playlist file
  p.Append("C:\\Music\\abcdefghijklmnopqrstu.mp3");
  p.Append("C:\\音楽\\一二三四五六七八九十百.mp3");
  const auto rows = Paint();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].text, "Song.mp3");
  EXPECT_EQ(rows[1].text, ".mp3");
  EXPECT_EQ(rows[2].text, "abcdefghijklmnopqrst~.mp3");
  EXPECT_EQ(rows[3].text, "一二三四五六七八九十~.mp3");
}

TEST(RowPaintingUnloaded, LoadsTheWindowHiddenAndPaintsTheRows) {
  TestApp app;
  Fill(app.ctx.tracks(), 2);
  ASSERT_FALSE(app.ctx.playlistWindow().Loaded());
  app.ctx.tracks().PaintRows();
  ASSERT_TRUE(app.ctx.playlistWindow().Loaded());
  EXPECT_FALSE(app.desktop.playlist->visible);
  const auto rows = app.text.On(*app.ctx.playlistWindow().faceImage());
  ASSERT_GE(rows.size(), 2u);
  EXPECT_EQ(rows[rows.size() - 2].text, "t1.mp3");
  EXPECT_EQ(rows.back().text, "t2.mp3");
  EXPECT_EQ(rows.back().y, 27);
}

}  // namespace
}  // namespace kestrafon
