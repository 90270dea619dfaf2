#pragma once
// The window and tray icon: a graphite tile with an amber play disc.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "artwork_palette.h"
#include "artwork_pixels.h"
#include "skin/sheet_map.h"

namespace kestrafon::artwork {

inline QImage DrawIcon() {
  using namespace palette;
  const int n = skin::kIconSize;
  QImage img(n, n, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  const RoundRect tile{img.rect(), 6};
  FillShapeVertical(img, tile, Mix(kKeyTop, kBody, 0.3), kBody);
  Outline(img, tile, kRim);
  Bevel(img, RoundRect{img.rect().adjusted(1, 1, -1, -1), 5}, kBodyLit, kBodyShade);

  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kAccentLo, 1.0));
  p.setBrush(kAccent);
  p.drawEllipse(QRectF(5.5, 5.5, 21, 21));
  p.setPen(QPen(kAccentHi, 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(8, 8, 16, 16), 100 * 16, 70 * 16);  // a glint on the upper left
  p.setPen(Qt::NoPen);
  p.setBrush(kRim);
  const QPolygonF play{QPointF(13, 10.5), QPointF(13, 21.5), QPointF(22.5, 16)};
  p.drawPolygon(play);
  return img;
}

}  // namespace kestrafon::artwork
