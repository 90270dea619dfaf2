#pragma once
// Text drawn straight into a core image with QPainter, top-left anchored
// like the platform text call, in a Japanese-capable UI font at 12 pixels.
#include <QFont>
#include <QStaticText>
#include <array>
#include <optional>
#include <string>

#include "seam/text_renderer.h"

namespace kestrafon::platform::qt {

class QtTextRenderer final : public seam::TextRenderer {
 public:
  void DrawText(Image& target, int x, int y, std::string_view utf8, Rgb color) override;

  // The font the skin asks for: IPAGothic first, by pixel size.
  static QFont SkinFont();

 private:
  const QStaticText& Layout(std::string_view utf8);

  std::optional<QFont> font_;  // made on first use, then kept
  // The same few texts come back every tick (the title at a new offset, the
  // clock): keep their shaped glyphs instead of shaping them again.
  struct Laid {
    std::string utf8;
    QStaticText text;
  };
  std::array<Laid, 8> laid_;
  std::size_t next_ = 0;
};

}  // namespace kestrafon::platform::qt
