// The rounded outline of the borderless windows, as rectangles.
#include <gtest/gtest.h>

#include "platform/qt/rounded_outline.h"

namespace kestrafon {
namespace {

int Covers(const std::vector<OutlineRect>& rects, int x, int y) {
  int n = 0;
  for (const OutlineRect& r : rects)
    if (r.x <= x && x < r.x + r.width && r.y <= y && y < r.y + r.height) ++n;
  return n;
}

TEST(RoundedOutline, CutsTheCornersSymmetricallyAndCoversTheRestOnce) {
  const auto rects = RoundedOutline(303, 202, 20, 20);
  for (auto [x, y] : {std::pair{0, 0}, {302, 0}, {0, 201}, {302, 201}, {2, 1}}) EXPECT_EQ(Covers(rects, x, y), 0);
  // The straight edges start where the 10-pixel radius ends.
  for (auto [x, y] : {std::pair{10, 0}, {0, 10}, {151, 0}, {0, 101}, {302, 101}, {151, 201}, {151, 101}})
    EXPECT_EQ(Covers(rects, x, y), 1) << x << "," << y;
  int inside = 0;
  for (int y = 0; y < 202; ++y) {
    for (int x = 0; x < 303; ++x) {
      const int n = Covers(rects, x, y);
      ASSERT_LE(n, 1) << x << "," << y;  // no pixel twice
      EXPECT_EQ(n, Covers(rects, 302 - x, 201 - y)) << x << "," << y;
      EXPECT_EQ(n, Covers(rects, 302 - x, y)) << x << "," << y;
      inside += n;
    }
  }
  // Each corner cuts away a little less than the square around a quarter circle.
  const int cut = 303 * 202 - inside;
  EXPECT_GT(cut, 4 * 15);
  EXPECT_LT(cut, 4 * 100);
}

TEST(RoundedOutline, EmptyAndTinySizes) {
  EXPECT_TRUE(RoundedOutline(0, 10, 20, 20).empty());
  EXPECT_TRUE(RoundedOutline(10, -1, 20, 20).empty());
  EXPECT_FALSE(RoundedOutline(5, 5, 20, 20).empty());  // tinier than its corners: still something
  // Without rounding nothing is cut: whole rows and the middle.
  EXPECT_EQ(RoundedOutline(7, 4, 0, 0), (std::vector<OutlineRect>{{0, 0, 7, 1}, {0, 3, 7, 1}, {0, 1, 7, 2}}));
}

}  // namespace
}  // namespace kestrafon
