#include "platform/qt/qt_text_renderer.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace kestrafon::platform::qt {

QFont QtTextRenderer::SkinFont() {
  QFont font;
  font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("sans-serif")});
  font.setPixelSize(12);
  // Crisp one-colour glyphs, like the rest of the pixel art: no blending
  // with whatever lies under the text.
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

void QtTextRenderer::DrawText(Image& target, int x, int y, std::string_view utf8, Rgb color) {
  if (target.empty() || utf8.empty()) return;
  if (!font_) {
    font_ = SkinFont();
    ascent_ = QFontMetrics(*font_).ascent();
  }
  // Paint on the image's own pixels: no copy in or out.
  QImage canvas(reinterpret_cast<uchar*>(target.data()), target.width(), target.height(), target.width() * 4,
                QImage::Format_ARGB32);
  QPainter painter(&canvas);
  painter.setFont(*font_);
  painter.setPen(QColor(color.r, color.g, color.b));
  painter.drawText(QPointF(x, y + ascent_), QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

}  // namespace kestrafon::platform::qt
