// Checks of the committed artwork: exact sizes, and the pixel properties the
// player relies on when it builds its face out of sprite copies.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "seam/image.h"
#include "skin/sheet_map.h"

namespace {

using namespace kestrafon;
using namespace kestrafon::skin;

QImage LoadPng(const char* name) {
  const QString path = QStringLiteral(KESTRAFON_ASSET_DIR "/") + QString::fromLatin1(name);
  QImage img(path);
  EXPECT_FALSE(img.isNull()) << "cannot read " << path.toStdString();
  return img;
}

Image ToCore(const QImage& q) {
  const QImage rgb = q.convertToFormat(QImage::Format_RGB32);
  Image img(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x) img.SetPixel(x, y, rgb.pixel(x, y) | 0xFF000000u);
  return img;
}

struct Skin {
  Image face, playlist, buttons, parts;
};

const Skin& Loaded() {
  static const Skin skin{ToCore(LoadPng("face.png")), ToCore(LoadPng("playlist.png")),
                         ToCore(LoadPng("buttons.png")), ToCore(LoadPng("parts.png"))};
  return skin;
}

void Copy(Image& face, const Sprite& s) {
  const Image& sheet = s.sheet == Sheet::Buttons ? Loaded().buttons : Loaded().parts;
  CopyRect(face, s.destX, s.destY, sheet, s.source.x, s.source.y, s.source.w, s.source.h);
}

// The face as the player draws it when it starts.
Image StartUpFace() {
  Image face(kFaceWidth, kFaceHeight);
  CopyImage(face, 0, 0, Loaded().face);
  Copy(face, kTransportRowReleased);
  Copy(face, kTitleButtonsReleased);
  Copy(face, kOptionPanelUnlit);
  const Rect k = kVolumeKnob;
  CopyRect(face, kKnobStart, kVolumeKnobTop, Loaded().parts, k.x, k.y, k.w, k.h);
  return face;
}

// Pixels of `area` (in both images' coordinates) that differ.
int Differing(const Image& a, const Image& b, Rect area) {
  int n = 0;
  for (int y = area.y; y < area.y + area.h; ++y)
    for (int x = area.x; x < area.x + area.w; ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
  return n;
}

struct At {
  int x, y;
};

// Pixels where the sheet rectangle `s` and the rectangle of the same size at `t` differ.
int DifferingBetween(const Image& sheet, Rect s, At t) {
  int n = 0;
  for (int y = 0; y < s.h; ++y)
    for (int x = 0; x < s.w; ++x) n += sheet.Pixel(s.x + x, s.y + y) != sheet.Pixel(t.x + x, t.y + y);
  return n;
}

// The smallest rectangle holding every pixel where the two images differ.
Rect DifferenceBounds(const Image& a, const Image& b) {
  int x1 = a.width(), y1 = a.height(), x2 = -1, y2 = -1;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) {
        x1 = std::min(x1, x); y1 = std::min(y1, y);
        x2 = std::max(x2, x); y2 = std::max(y2, y);
      }
  return x2 < 0 ? Rect{} : Rect{x1, y1, x2 - x1 + 1, y2 - y1 + 1};
}

bool Inside(Rect inner, Rect outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

Rect Grow(Rect r, int by) { return {r.x - by, r.y - by, r.w + 2 * by, r.h + 2 * by}; }

// From inclusive bounds, as the mouse handlers state their areas.
constexpr Rect Span(int x1, int x2, int y1, int y2) { return {x1, y1, x2 - x1 + 1, y2 - y1 + 1}; }

double Luminance(std::uint32_t argb) {
  auto channel = [](int v) {
    const double c = v / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(int(argb >> 16) & 0xFF) + 0.7152 * channel(int(argb >> 8) & 0xFF) +
         0.0722 * channel(int(argb) & 0xFF);
}

double Contrast(double l1, double l2) { return (std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05); }

struct Press {
  const char* name;
  Sprite image;  // the pressed or lit image
  Rect hit;      // where the mouse answers to it
};

const std::array<Press, 10> kPresses{{
    {"minimise", kMinimisePressed, Span(261, 269, 7, 15)},
    {"close", kClosePressed, Span(278, 286, 7, 15)},
    {"always on top", kOnTopLit, Span(186, 243, 36, 44)},
    {"playlist", kPlaylistLit, Span(186, 228, 59, 66)},
    {"repeat", kRepeatLit, Span(241, 274, 84, 90)},
    {"previous", kPrevPressed, Span(28, 49, 153, 172)},
    {"pause", kPausePressed, Span(98, 124, 153, 172)},
    {"play", kPlayPressed, Span(136, 162, 153, 172)},
    {"stop", kStopPressed, Span(173, 198, 153, 172)},
    {"next", kNextPressed, Span(255, 275, 153, 172)},
}};

TEST(Assets, ImagesHaveTheirExactSizes) {
  const std::array<std::pair<const char*, std::pair<int, int>>, 5> sizes{{
      {"face.png", {302, 202}},
      {"playlist.png", {200, 202}},
      {"buttons.png", {260, 70}},
      {"parts.png", {135, 261}},
      {"icon.png", {32, 32}},
  }};
  for (const auto& [name, size] : sizes) {
    const QImage img = LoadPng(name);
    EXPECT_EQ(img.width(), size.first) << name;
    EXPECT_EQ(img.height(), size.second) << name;
  }
}

TEST(Assets, TextPanelsOfTheFaceAreBlack) {
  const Image& face = Loaded().face;
  for (const Rect panel : {Rect{24, 24, 137, 33}, Rect{40, 64, 81, 41}})
    for (int y = panel.y; y < panel.y + panel.h; ++y)
      for (int x = panel.x; x < panel.x + panel.w; ++x)
        ASSERT_EQ(face.Pixel(x, y), 0xFF000000u) << "panel pixel (" << x << ", " << y << ")";
}

TEST(Assets, ReleasedPiecesMatchTheFaceBeneathThem) {
  // Copying a released or unlit piece onto the bare face changes nothing,
  // so nothing jumps when the player draws its start-up face or restores a part.
  // Every piece the layout table marks as cut from the released face.
  int pieces = 0;
  for (const SpriteEntry& e : kSprites) {
    if (e.look != Look::Released || !e.exact) continue;
    const Sprite& s = e.sprite;
    Image face(kFaceWidth, kFaceHeight);
    CopyImage(face, 0, 0, Loaded().face);
    const Image before = face;
    Copy(face, s);
    EXPECT_EQ(Differing(before, face, {s.destX, s.destY, s.source.w, s.source.h}), 0) << e.name;
    ++pieces;
  }
  // The transport row, the title keys, the option panel and its three
  // unlit lamps, the time bar track and the volume bar.
  EXPECT_EQ(pieces, 8);
}

TEST(Assets, PressedAndReleasedTransportButtonsDifferSubstantially) {
  const std::array<std::pair<Sprite, Sprite>, 5> pairs{{{kPrevPressed, kPrevReleased},
                                                        {kPausePressed, kPauseReleased},
                                                        {kPlayPressed, kPlayReleased},
                                                        {kStopPressed, kStopReleased},
                                                        {kNextPressed, kNextReleased}}};
  for (const auto& [down, up] : pairs) {
    const int area = down.source.w * down.source.h;
    const int diff = DifferingBetween(Loaded().buttons, down.source, {up.source.x, up.source.y});
    EXPECT_GT(diff * 5, area) << "button at sheet x " << down.source.x << ": " << diff << " of " << area;
  }
}

TEST(Assets, LitOptionButtonsDifferFromUnlit) {
  const std::array<std::pair<Sprite, Sprite>, 3> pairs{
      {{kOnTopLit, kOnTopUnlit}, {kPlaylistLit, kPlaylistUnlit}, {kRepeatLit, kRepeatUnlit}}};
  for (const auto& [lit, unlit] : pairs) {
    Image on = StartUpFace(), off = StartUpFace();
    Copy(on, lit);
    Copy(off, unlit);
    const Rect area{unlit.destX, unlit.destY, unlit.source.w, unlit.source.h};
    EXPECT_GT(Differing(on, off, area) * 10, area.w * area.h) << "option at face x " << unlit.destX;
  }
}

TEST(Assets, PressedAndLitLooksCoverTheirButtonAndStayOnIt) {
  // A pressed or lit image changes the face over most of the place the mouse
  // answers to, centred on it and nowhere far from it: a misplaced image
  // would show up as changes off centre, outside that place or too few inside it.
  for (const Press& p : kPresses) {
    const Image before = StartUpFace();
    Image after = before;
    Copy(after, p.image);
    const Rect changed = DifferenceBounds(before, after);
    EXPECT_TRUE(Inside(changed, Grow(p.hit, 2)))
        << p.name << ": changes reach (" << changed.x << ", " << changed.y << ", " << changed.w << ", "
        << changed.h << ")";
    EXPECT_GT(Differing(before, after, p.hit) * 2, p.hit.w * p.hit.h) << p.name;
    // Centred on it within a pixel (compared doubled, to stay in whole numbers).
    EXPECT_LE(std::abs((2 * changed.x + changed.w) - (2 * p.hit.x + p.hit.w)), 2) << p.name;
    EXPECT_LE(std::abs((2 * changed.y + changed.h) - (2 * p.hit.y + p.hit.h)), 2) << p.name;
  }
}

TEST(Assets, TogglesSwitchedOffLeaveNoTrace) {
  // The lit images start higher than the unlit ones and overlap their
  // neighbours; switching every toggle off again, in any order, must give
  // back the start-up face exactly.
  const std::array<std::pair<Sprite, Sprite>, 3> toggles{
      {{kOnTopLit, kOnTopUnlit}, {kPlaylistLit, kPlaylistUnlit}, {kRepeatLit, kRepeatUnlit}}};
  std::array<int, 3> order{0, 1, 2};
  do {
    Image face = StartUpFace();
    for (const int i : order) Copy(face, toggles[i].first);
    for (const int i : order) Copy(face, toggles[i].second);
    EXPECT_EQ(DifferenceBounds(face, StartUpFace()), Rect{})
        << "order " << order[0] << order[1] << order[2];
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST(Assets, OneToggleDoesNotDisturbAnother) {
  const std::array<std::pair<Sprite, Sprite>, 3> toggles{
      {{kOnTopLit, kOnTopUnlit}, {kPlaylistLit, kPlaylistUnlit}, {kRepeatLit, kRepeatUnlit}}};
  for (int a = 0; a < 3; ++a)
    for (int b = 0; b < 3; ++b) {
      if (a == b) continue;
      Image both = StartUpFace();
      Copy(both, toggles[b].first);
      Copy(both, toggles[a].first);
      Copy(both, toggles[a].second);  // a on and off again, b stays on
      Image onlyB = StartUpFace();
      Copy(onlyB, toggles[b].first);
      EXPECT_EQ(DifferenceBounds(both, onlyB), Rect{}) << "toggle " << a << " disturbs toggle " << b;
    }
}

TEST(Assets, TimeBarFillDiffersFromTheEmptyTrack) {
  const Image& parts = Loaded().parts;
  const Rect fill = kTimeBarFill;
  // The fill lands one row below the track's top row.
  const At trackRows{kTimeBarTrack.source.x + (kTimeBarFillX - kTimeBarTrack.destX),
                        kTimeBarTrack.source.y + (kTimeBarFillY - kTimeBarTrack.destY)};
  EXPECT_GT(DifferingBetween(parts, fill, trackRows) * 2, fill.w * fill.h);
  // Even one pixel of progress shows.
  EXPECT_GT(DifferingBetween(parts, {fill.x, fill.y, 1, fill.h}, trackRows), 0);
}

TEST(Assets, VolumeKnobStandsOutFromTheBar) {
  const Rect k = kVolumeKnob;
  const Image before = StartUpFace();
  Image face(kFaceWidth, kFaceHeight);
  CopyImage(face, 0, 0, Loaded().face);
  Copy(face, kVolumeBar);
  EXPECT_GT(Differing(before, face, {kKnobStart, kVolumeKnobTop, k.w, k.h}) * 2, k.w * k.h);
}

TEST(Assets, PlaylistRowsAreDarkEnoughForTheirTextColours) {
  const Image& list = Loaded().playlist;
  const std::array<std::uint32_t, 3> inks{0xFFFFFFFFu, 0xFF8CAAFFu, 0xFF82FF96u};  // white, blue, green
  for (int y = 15; y < 15 + 13 * 12; ++y)
    for (int x = 10; x < 190; ++x)
      for (const std::uint32_t ink : inks)
        ASSERT_GE(Contrast(Luminance(ink), Luminance(list.Pixel(x, y))), 7.0)
            << "row pixel (" << x << ", " << y << ")";
}

TEST(Assets, PlaylistButtonsAreLabelledWhereTheyAnswer) {
  const Image& list = Loaded().playlist;
  auto bright = [&](Rect r) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y)
      for (int x = r.x; x < r.x + r.w; ++x) n += Luminance(list.Pixel(x, y)) > 0.5;
    return n;
  };
  for (const Rect key : {Span(14, 39, 181, 190), Span(55, 84, 181, 190), Span(103, 145, 181, 190),
                         Span(163, 187, 181, 190)})
    EXPECT_GE(bright(key), 20) << "button at x " << key.x;
  for (const Rect gap : {Span(42, 52, 179, 192), Span(88, 100, 179, 192), Span(149, 160, 179, 192)})
    EXPECT_EQ(bright(gap), 0) << "gap at x " << gap.x;
}

}  // namespace
