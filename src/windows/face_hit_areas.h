#pragma once
// Where the player's face answers the mouse: named views of the face-button
// table in skin/layout.h, where every area is written once.
#include "skin/layout.h"

namespace kestrafon::hit {

using skin::Area;
using skin::Span;
using Button = skin::FaceButton;
using ButtonArea = skin::FaceButtonArea;

inline constexpr const auto& kButtons = skin::kFaceButtons;
constexpr const ButtonArea& Of(Button b) { return skin::FaceButtonOf(b); }

inline constexpr const Span& kTransportRow = skin::kTransportRow;
inline constexpr const Span& kQuietColumn = skin::kQuietColumn;
inline constexpr const Area& kVolumeDrag = skin::kVolumeDrag;
inline constexpr const Span& kNoDragColumn = skin::kNoDragColumn;
inline constexpr const Span& kNoDragBand = skin::kNoDragBand;

}  // namespace kestrafon::hit
