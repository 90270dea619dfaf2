#pragma once
// A retained picture owned by the core: a window face, a text panel or a
// sprite sheet. Pixels are 0xAARRGGBB, row by row.
#include <cstdint>
#include <vector>

namespace kestrafon {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  constexpr std::uint32_t Argb() const {
    return 0xFF000000u | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b;
  }
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  constexpr bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
  friend constexpr bool operator==(Rect, Rect) = default;
};

class Image {
 public:
  Image() = default;
  Image(int width, int height, std::uint32_t fill = 0xFF000000u);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }

  std::uint32_t Pixel(int x, int y) const { return pixels_[Index(x, y)]; }
  void SetPixel(int x, int y, std::uint32_t argb) { pixels_[Index(x, y)] = argb; }
  void Fill(std::uint32_t argb);

  const std::uint32_t* data() const { return pixels_.data(); }
  std::uint32_t* data() { return pixels_.data(); }

  friend bool operator==(const Image&, const Image&) = default;

 private:
  std::size_t Index(int x, int y) const { return std::size_t(y) * std::size_t(width_) + std::size_t(x); }
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// The one drawing primitive of the skin: copy the rectangle (sx, sy, w, h)
// of `src` to (dx, dy) of `dst`, replacing the pixels. Whatever falls outside
// either image is left out, as a clipped source copy would.
void CopyRect(Image& dst, int dx, int dy, const Image& src, int sx, int sy, int w, int h);

// Copies the part of `face` inside `dirty` to the same place of a pixel
// buffer in the same layout (`width` x `height`, `stride` pixels a row),
// clipped to both. Returns the part copied; empty when nothing was.
Rect CopyToPixels(const Image& face, Rect dirty, std::uint32_t* pixels, int width, int height, int stride);

// Copies a whole image onto another at (dx, dy), clipped the same way.
inline void CopyImage(Image& dst, int dx, int dy, const Image& src) {
  CopyRect(dst, dx, dy, src, 0, 0, src.width(), src.height());
}

}  // namespace kestrafon
