#pragma once
// The playlist window's background: a dark, faintly striped row area for the
// track names and a strip of four labelled keys at the bottom.
#include <QImage>
#include <QRect>
#include <QString>

#include <array>

#include "artwork_face.h"
#include "artwork_palette.h"
#include "artwork_pixels.h"
#include "skin/sheet_map.h"

namespace kestrafon::artwork {

namespace list_layout {
inline constexpr int kRowTop = 15, kRowStep = 12, kRows = 13;
inline const QRect kRowArea{QPoint(5, 9), QPoint(194, 175)};
inline const QRect kKeyStrip{QPoint(8, 177), QPoint(191, 194)};
struct KeySpot {
  QRect where;  // the place the mouse answers to
  const char* label;
};
inline const std::array<KeySpot, 4> kKeys{{
    {QRect(QPoint(14, 181), QPoint(39, 190)), "追加"},
    {QRect(QPoint(55, 181), QPoint(84, 190)), "削除"},
    {QRect(QPoint(103, 181), QPoint(145, 190)), "クリア"},
    {QRect(QPoint(163, 181), QPoint(187, 190)), "保存"},
}};
}  // namespace list_layout

inline QImage DrawPlaylist() {
  using namespace palette;
  using namespace list_layout;
  QImage img = NewImage(skin::kListBackgroundWidth, skin::kListBackgroundHeight, kRim);
  const RoundRect body{img.rect(), skin::kRegionCorner / 2};
  FillShape(img, body, kBody);
  Outline(img, body, kRim);
  Bevel(img, RoundRect{img.rect().adjusted(1, 1, -1, -1), body.radius - 1}, kBodyLit, kBodyShade);

  // Row area: every other row a shade lighter, so a long list stays easy to follow.
  Recess(img, kRowArea, 3, kListTop);
  const QRect inside = kRowArea.adjusted(1, 1, -1, -1);
  for (int i = 1; i < kRows; i += 2)
    FillRect(img, QRect(inside.left() + 1, kRowTop + i * kRowStep, inside.width() - 2, kRowStep), kListStripe);

  // Key strip: each key's raised face is exactly the place that answers to the mouse.
  Recess(img, kKeyStrip, 3, kPlate);
  for (const KeySpot& k : kKeys) {
    Key(img, k.where.adjusted(-1, -1, 1, 1), 2, false);
    CentredText(img, QString::fromUtf8(k.label), k.where, kGlyph, layout::kLabelPx);
  }
  return img;
}

}  // namespace kestrafon::artwork
