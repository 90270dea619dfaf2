#include "platform/qt/qt_text_renderer.h"

#include <QImage>
#include <QPainter>

#include "skin/layout.h"

namespace kestrafon::platform::qt {

QFont QtTextRenderer::SkinFont() {
  QFont font;
  font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("sans-serif")});
  font.setPixelSize(skin::kTextPixels);
  // Crisp one-colour glyphs, like the rest of the pixel art: no blending
  // with whatever lies under the text.
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

const QStaticText& QtTextRenderer::Layout(std::string_view utf8) {
  for (const Laid& entry : laid_) {
    if (!entry.utf8.empty() && entry.utf8 == utf8) return entry.text;
  }
  Laid& slot = laid_[next_];
  next_ = (next_ + 1) % laid_.size();
  slot.utf8.assign(utf8);
  slot.text = QStaticText(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
  slot.text.setTextFormat(Qt::PlainText);
  slot.text.prepare(QTransform(), *font_);
  return slot.text;
}

void QtTextRenderer::DrawText(Image& target, int x, int y, std::string_view utf8, Rgb color) {
  if (target.empty() || utf8.empty()) return;
  if (!font_) font_ = SkinFont();
  // Paint on the image's own pixels: no copy in or out.
  QImage canvas(reinterpret_cast<uchar*>(target.data()), target.width(), target.height(), target.width() * 4,
                QImage::Format_ARGB32);
  QPainter painter(&canvas);
  painter.setFont(*font_);
  painter.setPen(QColor(color.r, color.g, color.b));
  painter.drawStaticText(QPointF(x, y), Layout(utf8));  // anchored at its top-left
}

}  // namespace kestrafon::platform::qt
