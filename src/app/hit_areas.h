#pragma once
// Where the player's face answers the mouse. Every area is written here once,
// in face pixels, both bounds included; the areas never follow the window size.
#include "skin/sheet_map.h"

namespace kestrafon::hit {

struct Span {
  double lo, hi;
  constexpr bool Contains(double v) const { return lo <= v && v <= hi; }
};

struct Area {
  Span x, y;
  constexpr bool Contains(double px, double py) const { return x.Contains(px) && y.Contains(py); }
};

// In the order a press tests them.
enum class Button { Minimise, Close, Playlist, Repeat, OnTop, Previous, Pause, Play, Stop, Next };

struct ButtonArea {
  Button button;
  Area press;    // for the transport buttons only its x column decides the press
  Area release;
};

// The row of the transport buttons: a press in a transport column outside it is swallowed.
inline constexpr Span kTransportRow{153, 172};

inline constexpr ButtonArea kButtons[] = {
    {Button::Minimise, {{261, 269}, {7, 15}}, {{261, 269}, {7, 15}}},
    {Button::Close, {{278, 286}, {7, 15}}, {{278, 286}, {7, 15}}},
    {Button::Playlist, {{186, 228}, {59, 66}}, {{186, 228}, {59, 66}}},
    {Button::Repeat, {{241, 274}, {84, 90}}, {{241, 274}, {84, 90}}},
    {Button::OnTop, {{186, 243}, {36, 44}}, {{186, 243}, {36, 44}}},
    {Button::Previous, {{28, 49}, kTransportRow}, {{28, 49}, kTransportRow}},
    {Button::Pause, {{98, 124}, kTransportRow}, {{98, 124}, kTransportRow}},
    {Button::Play, {{136, 162}, kTransportRow}, {{136, 162}, kTransportRow}},
    {Button::Stop, {{173, 198}, kTransportRow}, {{173, 198}, kTransportRow}},
    // One pixel narrower on release: a press at x 276 can never change the track.
    {Button::Next, {{255, 276}, kTransportRow}, {{255, 275}, kTransportRow}},
};

constexpr const ButtonArea& Of(Button b) { return kButtons[static_cast<int>(b)]; }

// A press in this column (between stop and next) only refreshes the face.
inline constexpr Span kQuietColumn{211, 237};

// The knob follows the left button inside this area; its left edge is the mouse x.
inline constexpr Area kVolumeDrag{{skin::kKnobMin, skin::kKnobMax}, {106, 126}};

// A press on a free part of the face drags the window, except in this column
// and this band (the volume bar, the time bar and the right-hand column).
inline constexpr Span kNoDragColumn{206, 286};
inline constexpr Span kNoDragBand{106, 126};

}  // namespace kestrafon::hit
