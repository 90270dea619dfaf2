#pragma once
// The outline of a borderless window: a rectangle whose corners are cut by
// an ellipse, as the rectangles that make up the inside. Each toolkit turns
// it into its own window shape.
#include <vector>

namespace kestrafon {

struct OutlineRect {
  int x, y, width, height;
  friend bool operator==(const OutlineRect&, const OutlineRect&) = default;
};

// The inside of a width x height rectangle whose corners are cut by a
// ellipseW x ellipseH ellipse: one row at a time through the corners (top
// and bottom row of each pair), then one rectangle for the straight middle.
// Nothing for an empty size; something however small the rectangle.
std::vector<OutlineRect> RoundedOutline(int width, int height, int ellipseW, int ellipseH);

}  // namespace kestrafon
