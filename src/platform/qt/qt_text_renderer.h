#pragma once
// Text drawn straight into a core image with QPainter, top-left anchored
// like the platform text call, in a Japanese-capable UI font at 12 pixels.
#include <QFont>
#include <optional>

#include "platform/text_renderer.h"

namespace kestrafon::platform::qt {

class QtTextRenderer final : public TextRenderer {
 public:
  void DrawText(Image& target, int x, int y, std::string_view utf8, Rgb color) override;

  // The font the skin asks for: IPAGothic first, by pixel size.
  static QFont SkinFont();

 private:
  std::optional<QFont> font_;  // made on first use, then kept
  int ascent_ = 0;
};

}  // namespace kestrafon::platform::qt
