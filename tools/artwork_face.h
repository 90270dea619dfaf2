#pragma once
// The player's face in any look: every key released or pressed, every lamp
// lit or not, the time bar at any length. The sheets are cut from these
// faces, so a piece copied onto the face always matches what lies around it.
#include <QImage>
#include <QRect>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>
#include <string_view>

#include "artwork_palette.h"
#include "artwork_pixels.h"
#include "skin/layout.h"
#include "skin/sheet_map.h"

namespace kestrafon::artwork {

enum Transport { kPrev, kPause, kPlay, kStop, kNext, kTransportCount };

struct FaceLook {
  std::array<bool, kTransportCount> pressed{};
  bool minimisePressed = false;
  bool closePressed = false;
  bool onTopLit = false;
  bool listLit = false;
  bool repeatLit = false;
  int timeFill = 0;  // lit pixels of the time bar, 0 .. 134
};

// Where the keys sit on the face comes from the layout table (the key of
// each face button); the rest here is decoration only the artwork has.
namespace layout {
inline QRect ToQRect(Rect r) { return QRect(r.x, r.y, r.w, r.h); }
inline QRect KeyOf(skin::FaceButton b) { return ToQRect(skin::FaceButtonOf(b).key); }
// The transport keys in the order of `Transport`.
inline QRect TransportKeyOf(Transport t) {
  return KeyOf(skin::FaceButton(static_cast<int>(skin::FaceButton::Previous) + t));
}
inline const QRect kLcdWindow{QPoint(20, 20), QPoint(164, 121)};
inline const QRect kOptionPlate{QPoint(172, 20), QPoint(290, 100)};
inline const QRect kTray{20, 145, 259, 35};
inline const std::array<QRect, 2> kGrilles{QRect(QPoint(58, 156), QPoint(90, 168)),
                                           QRect(QPoint(208, 156), QPoint(245, 168))};
inline constexpr int kGrooveLeft = 207, kGrooveRight = 287, kGrooveTop = 114;
inline constexpr int kLabelPx = 10;
}  // namespace layout

// A small picture given as rows of text: '#' is painted, anything else is left.
inline void Pattern(QImage& img, int x, int y, std::initializer_list<const char*> rows, QColor c) {
  int dy = 0;
  for (const char* row : rows) {
    for (int dx = 0; row[dx]; ++dx)
      if (row[dx] == '#') Put(img, x + dx, y + dy, c);
    ++dy;
  }
}

// The program's name in capitals of a small drawn typeface, 7 pixels high.
inline void NamePlate(QImage& img, int x, int y) {
  struct Letter {
    char c;
    std::array<const char*, 7> rows;
  };
  static const Letter kLetters[] = {
      {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
      {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
      {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
      {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
      {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
      {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
      {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
      {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
      {'N', {"#...#", "##..#", "##..#", "#.#.#", "#..##", "#..##", "#...#"}},
  };
  for (const char c : std::string_view("KESTRAFON")) {
    for (const Letter& l : kLetters) {
      if (l.c != c) continue;
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (l.rows[row][col] == '#') {
            Put(img, x + col, y + row + 1, palette::kCaptionShadow);
            Put(img, x + col, y + row, palette::kCaption);
          }
    }
    x += 7;
  }
}

// A raised key, or the same key pushed in.
inline void Key(QImage& img, QRect r, int radius, bool down) {
  using namespace palette;
  const RoundRect outer{r, radius};
  const RoundRect inner{r.adjusted(1, 1, -1, -1), std::max(0, radius - 1)};
  Outline(img, outer, kKeyRim);
  if (down) {
    FillShapeVertical(img, inner, kKeyDownTop, kKeyDownBottom);
    Bevel(img, inner, kKeyDownShade, kKeyDownLit);
  } else {
    FillShapeVertical(img, inner, kKeyTop, kKeyBottom);
    Bevel(img, inner, kKeyLit, kKeyShade);
  }
}

// A recess in the body: darker floor, shaded upper-left edge, lit lower-right edge.
inline void Recess(QImage& img, QRect r, int radius, QColor floor) {
  const RoundRect s{r, radius};
  FillShape(img, s, floor);
  Bevel(img, s, palette::kRecessShade, palette::kRecessLit);
}

// A 4 x 4 lamp with its top-left corner at (x, y).
inline void Lamp(QImage& img, int x, int y, bool lit) {
  using namespace palette;
  const QColor body = lit ? kAccent : kLampOff;
  const QColor edge = lit ? kAccentLo : kLampOffLo;
  FillRect(img, QRect(x, y, 4, 4), body);
  for (int i : {0, 3}) for (int j : {0, 3}) Put(img, x + i, y + j, edge);
  Put(img, x + 1, y + 1, lit ? kAccentHi : Mix(kLampOff, kGlyph, 0.25));
}

// The symbol of a transport key, in a `w` x `h` box whose centre is (cx, cy).
inline void TransportGlyph(QImage& img, Transport t, int cx, int cy, QColor c) {
  switch (t) {
    case kPrev:  // bar and two triangles pointing left
      FillRect(img, QRect(cx - 6, cy - 4, 2, 9), c);
      for (int i = 0; i < 5; ++i) {
        VLine(img, cx - 3 + i, cy - i, cy + i, c);
        VLine(img, cx + 2 + i, cy - i, cy + i, c);
      }
      break;
    case kNext:  // two triangles pointing right and a bar
      for (int i = 0; i < 5; ++i) {
        VLine(img, cx + 3 - i, cy - i, cy + i, c);
        VLine(img, cx - 2 - i, cy - i, cy + i, c);
      }
      FillRect(img, QRect(cx + 5, cy - 4, 2, 9), c);
      break;
    case kPause:  // two bars
      FillRect(img, QRect(cx - 4, cy - 5, 3, 11), c);
      FillRect(img, QRect(cx + 1, cy - 5, 3, 11), c);
      break;
    case kPlay:  // triangle pointing right
      for (int i = 0; i < 7; ++i) VLine(img, cx - 3 + i, cy - 6 + i, cy + 6 - i, c);
      break;
    case kStop:  // square
      FillRect(img, QRect(cx - 4, cy - 4, 9, 9), c);
      break;
    case kTransportCount:
      break;
  }
}

inline void TransportKey(QImage& img, Transport t, bool down) {
  using namespace palette;
  const QRect r = layout::TransportKeyOf(t);
  Key(img, r, 3, down);
  const int cx = r.left() + r.width() / 2, cy = r.top() + r.height() / 2;
  if (down) {
    TransportGlyph(img, t, cx + 1, cy + 1, kAccent);
  } else {
    TransportGlyph(img, t, cx + 1, cy + 1, kGlyphShadow);
    TransportGlyph(img, t, cx, cy, kGlyph);
  }
}

// Minimise and close: small square keys in the top-right corner.
inline void TitleKey(QImage& img, QRect r, bool close, bool down) {
  using namespace palette;
  Key(img, r, 2, down);
  const int o = down ? 1 : 0;
  const QColor c = down ? kAccent : kGlyph;
  const int x = r.left() + 3 + o, y = r.top() + 3 + o;
  if (close) {
    for (int i = 0; i < 5; ++i) {
      Put(img, x + i, y + i, c);
      Put(img, x + 4 - i, y + i, c);
    }
  } else {
    HLine(img, x, x + 4, y + 3, c);
    HLine(img, x, x + 4, y + 4, c);
  }
}

// An option key: a lamp and a label (or a picture) that light up together.
inline void OptionKey(QImage& img, QRect r, bool lit, const QString& label) {
  using namespace palette;
  Key(img, r, 2, lit);
  const int inner = r.width() - 4;
  const int textW = label.isEmpty() ? 12 : TextWidth(label, layout::kLabelPx);
  const int contentW = 4 + 4 + textW;
  const int x = r.left() + 2 + (inner - contentW) / 2;
  const int cy = r.top() + r.height() / 2;
  Lamp(img, x, cy - 2, lit);
  const QRect box(x + 8, r.top() + 1, textW, r.height() - 2);
  const QColor ink = lit ? kAccent : kGlyph;
  if (label.isEmpty()) {
    // The repeat picture: two arrows chasing each other round a loop.
    const std::initializer_list<const char*> loop{
        ".........#..",  //
        ".##########.",  //
        "#........#..",  //
        "#...........",  //
        "...........#",  //
        "..#........#",  //
        ".##########.",  //
        "..#.........",
    };
    Pattern(img, box.left(), cy - 4, loop, ink);
  } else {
    CentredText(img, label, box, ink, layout::kLabelPx);
  }
}

// The time bar: a row of LCD segments, lit from the left.
inline void TimeBar(QImage& img, int lit) {
  using namespace palette;
  const int x0 = skin::kTimeBarFillX, y0 = skin::kTimeBarFillY;
  for (int i = 0; i < skin::kTimeBarLength; ++i) {
    const bool gap = i % 3 == 2;
    for (int row = 0; row < skin::kTimeBarFill.h; ++row) {
      QColor c = kLcd;
      if (!gap && i < lit) {
        c = row == 0 ? kAccentHi : (row == skin::kTimeBarFill.h - 1 ? kAccentLo : kAccent);
      } else if (!gap) {
        c = kSegmentOff;
      }
      Put(img, x0 + i, y0 + row, c);
    }
  }
}

// The volume scale: a groove for the knob and a row of ticks under it.
inline void VolumeScale(QImage& img) {
  using namespace palette;
  using namespace layout;
  CentredText(img, QString::fromUtf8("音量"), QRect(178, 106, 26, 20), kCaption, kLabelPx);
  const int half = skin::kVolumeKnob.w / 2;
  const RoundRect groove{QRect(QPoint(kGrooveLeft, kGrooveTop), QPoint(kGrooveRight, kGrooveTop + 3)), 1};
  FillShape(img, groove, kRim);
  Bevel(img, groove, kRecessShade, kRecessLit);
  const int first = skin::kKnobMin + half, last = skin::kKnobMax + half;
  for (int i = 0; i <= 8; ++i) {
    const int x = first + (last - first) * i / 8;
    const int len = (i % 4 == 0) ? 3 : 2;
    VLine(img, x, 120, 119 + len, kCaption);
  }
}

// Engraves a set of pixels into the body: each pixel dark, with a light
// edge below and to the right where the cut catches the light.
inline void Engrave(QImage& img, const std::vector<QPoint>& cut) {
  const QColor dark = palette::kRecessShade, light = palette::kRecessLit;
  auto inCut = [&](QPoint p) { return std::find(cut.begin(), cut.end(), p) != cut.end(); };
  for (const QPoint& p : cut)
    if (!inCut(p + QPoint(1, 1))) Put(img, p.x() + 1, p.y() + 1, light);
  for (const QPoint& p : cut) Put(img, p.x(), p.y(), dark);
}

// The badge on the option plate: a ring with a pair of quavers, engraved.
inline void Badge(QImage& img, QPoint centre, int radius) {
  std::vector<QPoint> cut;
  for (int y = -radius - 1; y <= radius + 1; ++y)
    for (int x = -radius - 1; x <= radius + 1; ++x) {
      const double d = std::hypot(x, y);
      if (d > radius - 0.5 && d <= radius + 0.5) cut.push_back(centre + QPoint(x, y));
    }
  const std::initializer_list<const char*> notes{
      "...########",  //
      "...########",  //
      "...#......#",  //
      "...#......#",  //
      "...#......#",  //
      "...#......#",  //
      "...#......#",  //
      ".###....###",  //
      "####...####",  //
      "####...####",  //
      ".##.....##.",
  };
  int row = 0;
  for (const char* r : notes) {
    for (int col = 0; r[col]; ++col)
      if (r[col] == '#') cut.push_back(centre + QPoint(col - 6, row - 5));
    ++row;
  }
  Engrave(img, cut);
}

// The speaker grille between the keys: rows of small holes.
inline void Grille(QImage& img, QRect area) {
  for (int y = area.top(); y + 1 <= area.bottom(); y += 3)
    for (int x = area.left() + ((y - area.top()) / 3 % 2) * 1; x + 1 <= area.right(); x += 3) {
      Put(img, x, y, palette::kHole);
      Put(img, x + 1, y + 1, palette::kHoleLit);
    }
}

inline QImage DrawFace(const FaceLook& look) {
  using namespace palette;
  using namespace layout;
  QImage img = NewImage(skin::kFaceBackgroundWidth, skin::kFaceBackgroundHeight, kRim);

  // Body with the rounded outline of the window.
  const RoundRect body{img.rect(), skin::kRegionCorner / 2};
  FillShape(img, body, kBody);
  Outline(img, body, kRim);
  Bevel(img, RoundRect{img.rect().adjusted(1, 1, -1, -1), body.radius - 1}, kBodyLit, kBodyShade);

  // Name plate in the drag strip.
  Lamp(img, 24, 7, true);
  NamePlate(img, 33, 6);

  // The LCD: title, clock and time bar.
  Recess(img, kLcdWindow, 3, kLcd);
  const QColor rule = Mix(kLcd, kCaption, 0.18);
  HLine(img, kLcdWindow.left() + 6, kLcdWindow.right() - 6, skin::kTitlePanel.y + skin::kTitlePanel.h + 3, rule);
  HLine(img, kLcdWindow.left() + 6, kLcdWindow.right() - 6, skin::kTimeBarFillY - 4, rule);
  TimeBar(img, look.timeFill);

  // Option plate with its three keys.
  Recess(img, kOptionPlate, 4, kPlate);
  const QRect repeatKey = KeyOf(skin::FaceButton::Repeat);
  OptionKey(img, KeyOf(skin::FaceButton::OnTop), look.onTopLit, QString::fromUtf8("最前面"));
  OptionKey(img, KeyOf(skin::FaceButton::Playlist), look.listLit, QString::fromUtf8("リスト"));
  OptionKey(img, repeatKey, look.repeatLit, QString());
  Badge(img, QPoint(266, 52), 12);
  CentredText(img, QString::fromUtf8("リピート"),
              QRect(repeatKey.left() - 46, repeatKey.top(), 44, repeatKey.height()), kCaption, kLabelPx);

  VolumeScale(img);

  // Transport tray.
  Recess(img, kTray, 2, kPlate);
  for (const QRect& g : kGrilles) Grille(img, g);
  for (int t = 0; t < kTransportCount; ++t) TransportKey(img, Transport(t), look.pressed[t]);

  TitleKey(img, KeyOf(skin::FaceButton::Minimise), false, look.minimisePressed);
  TitleKey(img, KeyOf(skin::FaceButton::Close), true, look.closePressed);
  return img;
}

// The volume knob, 7 x 20: light metal with a rim, an amber index line, and
// body-coloured corners that blend with the bar behind it.
inline QImage DrawKnob() {
  using namespace palette;
  const int w = skin::kVolumeKnob.w, h = skin::kVolumeKnob.h;
  QImage img = NewImage(w, h, kBody);
  const RoundRect shape{img.rect(), 2};
  FillShapeVertical(img, shape, kKnobTop, kKnobBottom);
  Outline(img, shape, kKeyRim);
  Bevel(img, RoundRect{img.rect().adjusted(1, 1, -1, -1), 1}, Mix(kKnobTop, QColor(255, 255, 255), 0.5),
        Mix(kKnobBottom, kKeyRim, 0.3));
  HLine(img, 2, w - 3, h / 2 - 1, kAccentLo);
  HLine(img, 2, w - 3, h / 2, kAccent);
  return img;
}

}  // namespace kestrafon::artwork
