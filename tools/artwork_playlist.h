#pragma once
// The playlist window's background: a dark, faintly striped row area for the
// track names and a strip of four labelled keys at the bottom.
#include <QImage>
#include <QRect>
#include <QString>

#include "artwork_face.h"
#include "artwork_palette.h"
#include "artwork_pixels.h"
#include "skin/layout.h"

namespace kestrafon::artwork {

// The rows and the keys come from the layout table; the recesses around
// them are decoration only the artwork has.
namespace list_layout {
inline const QRect kRowArea{QPoint(5, 9), QPoint(194, 175)};
inline const QRect kKeyStrip{QPoint(8, 177), QPoint(191, 194)};
// The place a list button answers to.
inline QRect KeyOf(const skin::ListButtonArea& k) {
  return QRect(QPoint(k.left, skin::kListButtonTop), QPoint(k.right, skin::kListButtonBottom));
}
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
  const skin::RowLayout& rows = skin::kListRows;
  for (int i = 1; i < rows.count; i += 2)
    FillRect(img, QRect(inside.left() + 1, rows.top + i * rows.step, inside.width() - 2, rows.step), kListStripe);

  // Key strip: each key's raised face is exactly the place that answers to the mouse.
  Recess(img, kKeyStrip, 3, kPlate);
  for (const skin::ListButtonArea& k : skin::kListButtons) {
    const QRect where = KeyOf(k);
    Key(img, where.adjusted(-1, -1, 1, 1), 2, false);
    CentredText(img, QString::fromUtf8(k.label), where, kGlyph, layout::kLabelPx);
  }
  return img;
}

}  // namespace kestrafon::artwork
