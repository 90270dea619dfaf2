#pragma once
// The four buttons painted on the playlist window's face. They share one
// strip at the bottom; a press anywhere else only moves the window.
#include <array>
#include <optional>

namespace kestrafon {

enum class ListButton { Add, Remove, Clear, Save };

struct ListButtonArea {
  ListButton button;
  int left, right;  // both included
};

// The strip the buttons sit in, both bounds included.
inline constexpr int kListButtonTop = 181, kListButtonBottom = 190;

inline constexpr std::array<ListButtonArea, 4> kListButtons{{
    {ListButton::Add, 14, 39},
    {ListButton::Remove, 55, 84},
    {ListButton::Clear, 103, 145},
    {ListButton::Save, 163, 187},
}};

// The button under a press at (x, y) of the face, if any.
constexpr std::optional<ListButton> ListButtonAt(double x, double y) {
  if (y < kListButtonTop || y > kListButtonBottom) return std::nullopt;
  for (const ListButtonArea& area : kListButtons)
    if (x >= area.left && x <= area.right) return area.button;
  return std::nullopt;
}

}  // namespace kestrafon
