#include <gtest/gtest.h>

#include "seam/image.h"

namespace kestrafon {
namespace {

// A sheet whose every pixel names its own coordinates.
Image CoordinateSheet(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.SetPixel(x, y, 0xFF000000u | (std::uint32_t(x) << 12) | std::uint32_t(y));
  return img;
}

TEST(CopyRect, CopiesExactlyTheRectangle) {
  Image sheet = CoordinateSheet(40, 30);
  Image face(50, 50, 0xFF123456u);
  CopyRect(face, 10, 20, sheet, 5, 6, 7, 8);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) {
      bool inside = x >= 10 && x < 17 && y >= 20 && y < 28;
      EXPECT_EQ(face.Pixel(x, y), inside ? sheet.Pixel(x - 10 + 5, y - 20 + 6) : 0xFF123456u) << x << "," << y;
    }
}

TEST(CopyRect, ClipsAtEveryEdgeKeepingAlignment) {
  Image sheet = CoordinateSheet(20, 20);
  Image face(10, 10, 0);
  CopyRect(face, -3, -2, sheet, 0, 0, 20, 20);  // off the face's top-left
  EXPECT_EQ(face.Pixel(0, 0), sheet.Pixel(3, 2));
  EXPECT_EQ(face.Pixel(9, 9), sheet.Pixel(12, 11));

  Image face2(10, 10, 0);
  CopyRect(face2, 8, 8, sheet, 18, 18, 5, 5);  // runs off both images' far edges
  EXPECT_EQ(face2.Pixel(8, 8), sheet.Pixel(18, 18));
  EXPECT_EQ(face2.Pixel(9, 9), sheet.Pixel(19, 19));
  EXPECT_EQ(face2.Pixel(7, 7), 0u);

  Image face3(10, 10, 7);
  CopyRect(face3, 0, 0, sheet, -5, -5, 6, 6);  // source before the sheet origin
  EXPECT_EQ(face3.Pixel(5, 5), sheet.Pixel(0, 0));
  EXPECT_EQ(face3.Pixel(4, 4), 7u);
}

TEST(CopyRect, EmptyOrFullyOutsideCopiesNothing) {
  Image sheet = CoordinateSheet(10, 10);
  Image face(10, 10, 9);
  const Image before = face;
  CopyRect(face, 0, 0, sheet, 0, 0, 0, 5);
  CopyRect(face, 20, 0, sheet, 0, 0, 5, 5);
  CopyRect(face, 0, 0, sheet, 10, 10, 5, 5);
  CopyRect(face, 0, 0, sheet, 0, 0, -4, 5);
  EXPECT_EQ(face, before);
}

}  // namespace
}  // namespace kestrafon
