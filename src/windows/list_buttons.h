#pragma once
// The four buttons painted on the playlist window's face, as laid out in
// skin/layout.h. They share one strip at the bottom; a press anywhere else
// only moves the window.
#include <optional>

#include "skin/layout.h"

namespace kestrafon {

using skin::kListButtonBottom;
using skin::kListButtons;
using skin::kListButtonTop;
using skin::ListButton;
using skin::ListButtonArea;

// The button under a press at (x, y) of the face, if any.
constexpr std::optional<ListButton> ListButtonAt(double x, double y) {
  if (y < kListButtonTop || y > kListButtonBottom) return std::nullopt;
  for (const ListButtonArea& area : kListButtons)
    if (x >= area.left && x <= area.right) return area.button;
  return std::nullopt;
}

}  // namespace kestrafon
