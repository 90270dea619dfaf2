#include "platform/qt/rounded_outline.h"

#include <algorithm>
#include <cmath>

namespace kestrafon {

std::vector<OutlineRect> RoundedOutline(int width, int height, int ellipseW, int ellipseH) {
  std::vector<OutlineRect> rects;
  if (width <= 0 || height <= 0) return rects;
  const double rx = std::max(ellipseW, 1) / 2.0, ry = std::max(ellipseH, 1) / 2.0;
  const int cornerRows = std::min(int(std::ceil(ry)), height / 2);
  for (int row = 0; row < cornerRows; ++row) {
    const double dy = (ry - (row + 0.5)) / ry;
    const int inset = int(std::lround(rx - rx * std::sqrt(std::max(0.0, 1.0 - dy * dy))));
    const int span = width - 2 * inset;
    if (span <= 0) continue;
    rects.push_back({inset, row, span, 1});
    rects.push_back({inset, height - 1 - row, span, 1});
  }
  if (height > 2 * cornerRows) rects.push_back({0, cornerRows, width, height - 2 * cornerRows});
  return rects;
}

}  // namespace kestrafon
