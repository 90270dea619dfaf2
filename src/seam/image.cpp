#include "seam/image.h"

#include <algorithm>
#include <cstring>

namespace kestrafon {

Image::Image(int width, int height, std::uint32_t fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(std::size_t(width_) * std::size_t(height_), fill) {}

void Image::Fill(std::uint32_t argb) { std::fill(pixels_.begin(), pixels_.end(), argb); }

void CopyRect(Image& dst, int dx, int dy, const Image& src, int sx, int sy, int w, int h) {
  // Clip against the source, then against the destination, moving both
  // origins together so the copy keeps its alignment.
  auto clip = [&](int& from, int& to, int& len, int fromLimit, int toLimit) {
    if (from < 0) { to -= from; len += from; from = 0; }
    if (to < 0) { from -= to; len += to; to = 0; }
    len = std::min({len, fromLimit - from, toLimit - to});
  };
  clip(sx, dx, w, src.width(), dst.width());
  clip(sy, dy, h, src.height(), dst.height());
  if (w <= 0 || h <= 0) return;
  for (int row = 0; row < h; ++row) {
    std::memcpy(dst.data() + std::size_t(dy + row) * std::size_t(dst.width()) + std::size_t(dx),
                src.data() + std::size_t(sy + row) * std::size_t(src.width()) + std::size_t(sx),
                std::size_t(w) * sizeof(std::uint32_t));
  }
}

Rect CopyToPixels(const Image& face, Rect dirty, std::uint32_t* pixels, int width, int height, int stride) {
  const int left = std::max(dirty.x, 0), top = std::max(dirty.y, 0);
  const int right = std::min({dirty.x + dirty.w, width, face.width()});
  const int bottom = std::min({dirty.y + dirty.h, height, face.height()});
  if (left >= right || top >= bottom) return {};
  for (int y = top; y < bottom; ++y) {
    std::memcpy(pixels + std::size_t(y) * std::size_t(stride) + std::size_t(left),
                face.data() + std::size_t(y) * std::size_t(face.width()) + std::size_t(left),
                std::size_t(right - left) * sizeof(std::uint32_t));
  }
  return {left, top, right - left, bottom - top};
}

}  // namespace kestrafon
