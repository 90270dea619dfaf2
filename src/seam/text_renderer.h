#pragma once
// Draws text into a core image, anchored at its top-left corner like the
// platform text call, in the default user-interface font. Pixels outside the
// image are left out.
#include <string_view>

#include "seam/image.h"

namespace kestrafon::seam {

class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  virtual void DrawText(Image& target, int x, int y, std::string_view utf8, Rgb color) = 0;
};

}  // namespace kestrafon::seam
