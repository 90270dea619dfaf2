#pragma once
// Pixel-level drawing helpers for the artwork: colours, rounded shapes with
// soft one-pixel bevels, crisp bitmap text and rectangle copies. Everything
// lands on whole pixels so the images stay sharp when doubled.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cmath>

namespace kestrafon::artwork {

inline QColor Mix(QColor a, QColor b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto lerp = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
  return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()));
}

inline QImage NewImage(int w, int h, QColor fill) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

inline void Put(QImage& img, int x, int y, QColor c) {
  if (x >= 0 && y >= 0 && x < img.width() && y < img.height()) img.setPixel(x, y, c.rgb());
}

inline void FillRect(QImage& img, QRect r, QColor c) {
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) Put(img, x, y, c);
}

inline void HLine(QImage& img, int x1, int x2, int y, QColor c) { FillRect(img, QRect(QPoint(x1, y), QPoint(x2, y)), c); }
inline void VLine(QImage& img, int x, int y1, int y2, QColor c) { FillRect(img, QRect(QPoint(x, y1), QPoint(x, y2)), c); }

// A rectangle with rounded corners, tested at pixel centres.
struct RoundRect {
  QRect r;
  int radius = 0;

  bool Contains(int x, int y) const {
    if (!r.contains(x, y)) return false;
    if (radius <= 0) return true;
    const double px = x + 0.5, py = y + 0.5;
    const double left = r.left() + radius, right = r.right() + 1 - radius;
    const double top = r.top() + radius, bottom = r.bottom() + 1 - radius;
    const double cx = px < left ? left : (px > right ? right : px);
    const double cy = py < top ? top : (py > bottom ? bottom : py);
    const double dx = px - cx, dy = py - cy;
    return dx * dx + dy * dy <= double(radius) * radius + 0.25;
  }

  // How much the outline at (x, y) faces the light from the top left:
  // +1 on the top and left edges, -1 on the bottom and right, between at corners.
  double Facing(int x, int y) const {
    double nx = 0, ny = 0;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if ((dx || dy) && !Contains(x + dx, y + dy)) { nx += dx; ny += dy; }
    const double len = std::hypot(nx, ny);
    if (len == 0) return 0;
    return std::clamp(-(nx + ny) / len / 0.7, -1.0, 1.0);
  }
};

// Depth of a pixel inside a shape: 1 on the outline, 2 just inside, and so on
// (up to `limit`); 0 outside.
inline int Depth(const RoundRect& s, int x, int y, int limit) {
  if (!s.Contains(x, y)) return 0;
  for (int d = 1; d < limit; ++d) {
    const RoundRect inner{s.r.adjusted(d, d, -d, -d), std::max(0, s.radius - d)};
    if (!inner.Contains(x, y)) return d;
  }
  return limit;
}

inline void FillShape(QImage& img, const RoundRect& s, QColor c) {
  for (int y = s.r.top(); y <= s.r.bottom(); ++y)
    for (int x = s.r.left(); x <= s.r.right(); ++x)
      if (s.Contains(x, y)) Put(img, x, y, c);
}

// Fills a shape with a vertical gradient from `top` to `bottom`.
inline void FillShapeVertical(QImage& img, const RoundRect& s, QColor top, QColor bottom) {
  const int h = std::max(1, s.r.height() - 1);
  for (int y = s.r.top(); y <= s.r.bottom(); ++y) {
    const QColor c = Mix(top, bottom, double(y - s.r.top()) / h);
    for (int x = s.r.left(); x <= s.r.right(); ++x)
      if (s.Contains(x, y)) Put(img, x, y, c);
  }
}

// Paints the one-pixel ring of a shape, `lit` where it faces the top left,
// `shaded` where it faces the bottom right, blended in between.
inline void Bevel(QImage& img, const RoundRect& s, QColor lit, QColor shaded) {
  const QColor middle = Mix(lit, shaded, 0.5);
  for (int y = s.r.top(); y <= s.r.bottom(); ++y)
    for (int x = s.r.left(); x <= s.r.right(); ++x) {
      if (Depth(s, x, y, 2) != 1) continue;
      const double f = s.Facing(x, y);
      Put(img, x, y, f >= 0 ? Mix(middle, lit, f) : Mix(middle, shaded, -f));
    }
}

// Paints the outline ring of a shape in one colour.
inline void Outline(QImage& img, const RoundRect& s, QColor c) {
  for (int y = s.r.top(); y <= s.r.bottom(); ++y)
    for (int x = s.r.left(); x <= s.r.right(); ++x)
      if (Depth(s, x, y, 2) == 1) Put(img, x, y, c);
}

// The skin's font: IPAGothic by pixel size, drawn without smoothing so each
// stroke is a whole pixel.
inline QFont SkinFont(int pixelSize) {
  QFont f(QStringLiteral("IPAGothic"));
  f.setPixelSize(pixelSize);
  f.setStyleStrategy(QFont::NoAntialias);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

inline int TextWidth(const QString& text, int pixelSize) {
  return QFontMetrics(SkinFont(pixelSize)).horizontalAdvance(text);
}

// Draws text with its cell's top-left corner at (x, y), as a text-out call would.
inline void Text(QImage& img, const QString& text, int x, int y, QColor c, int pixelSize) {
  QPainter p(&img);
  const QFont f = SkinFont(pixelSize);
  p.setFont(f);
  p.setPen(c);
  p.drawText(x, y + QFontMetrics(f).ascent(), text);
}

// The box that the ink of `text` covers when drawn at (0, 0) like Text().
inline QRect InkBounds(const QString& text, int pixelSize) {
  const QFontMetrics fm(SkinFont(pixelSize));
  QImage probe = NewImage(fm.horizontalAdvance(text) + 4, fm.height() + 4, Qt::black);
  Text(probe, text, 0, 0, Qt::white, pixelSize);
  QRect ink;
  for (int y = 0; y < probe.height(); ++y)
    for (int x = 0; x < probe.width(); ++x)
      if (qRed(probe.pixel(x, y)) > 127) ink |= QRect(x, y, 1, 1);
  return ink;
}

// Draws text with its ink centred in `box`.
inline void CentredText(QImage& img, const QString& text, QRect box, QColor c, int pixelSize) {
  const QRect ink = InkBounds(text, pixelSize);
  const int x = box.left() + (box.width() - ink.width()) / 2 - ink.left();
  const int y = box.top() + (box.height() - ink.height()) / 2 - ink.top();
  Text(img, text, x, y, c, pixelSize);
}

// Copies the rectangle (sx, sy, w, h) of `src` to (dx, dy) of `dst`.
inline void Blit(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (src.valid(sx + x, sy + y) && dst.valid(dx + x, dy + y))
        dst.setPixel(dx + x, dy + y, src.pixel(sx + x, sy + y));
}

}  // namespace kestrafon::artwork
