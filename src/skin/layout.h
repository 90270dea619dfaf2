#pragma once
// The one layout table of the two faces: every sprite with its sheet
// rectangle and destination, every place the player's face answers the
// mouse, the playlist window's button strip, its rows and their colours.
// Each number is written here once. The tables are arrays of named records
// so that the artwork tool, the asset checks and the end-to-end layout
// printer can walk them; sheet_map.h, windows/face_hit_areas.h and
// windows/list_buttons.h give the program its named views of them.
#include <array>

#include "seam/image.h"

namespace kestrafon::skin {

// --- Window and image sizes --------------------------------------------------

inline constexpr int kFaceWidth = 303, kFaceHeight = 202;
inline constexpr int kFaceBackgroundWidth = 302, kFaceBackgroundHeight = 202;
inline constexpr int kListWidth = 201, kListHeight = 203;
inline constexpr int kListBackgroundWidth = 200, kListBackgroundHeight = 202;
inline constexpr int kButtonSheetWidth = 260, kButtonSheetHeight = 70;
inline constexpr int kPartsSheetWidth = 135, kPartsSheetHeight = 261;
inline constexpr int kIconSize = 32;
inline constexpr int kRegionCorner = 20;  // ellipse of the rounded window outline

// --- Text on the player's face -----------------------------------------------

// Every text of both faces, in pixels of the font's height: rows 12 pixels
// apart never overlap.
inline constexpr int kTextPixels = 12;

inline constexpr Rect kTitlePanel{24, 24, 137, 33};
inline constexpr Rect kTimePanel{40, 64, 81, 41};

enum class PanelText { Title, Elapsed, Total };

struct PanelTextSpot {
  PanelText text;
  const char* name;
  Rect panel;
  int x, y;  // where the text starts inside its panel
};

inline constexpr std::array<PanelTextSpot, 3> kPanelTexts{{
    {PanelText::Title, "title", kTitlePanel, 10, 10},
    {PanelText::Elapsed, "elapsed", kTimePanel, 10, 10},
    {PanelText::Total, "total", kTimePanel, 50, 10},
}};

constexpr const PanelTextSpot& PanelTextOf(PanelText t) { return kPanelTexts[static_cast<int>(t)]; }

// --- Sprites -----------------------------------------------------------------

enum class Sheet { Buttons, Parts };

struct Sprite {
  Sheet sheet;
  Rect source;       // rectangle on the sheet
  int destX, destY;  // top-left corner on the face
};

// The face a sprite shows, which is also the face the artwork cuts it from.
enum class Look {
  Released,  // every key released, every lamp unlit: the background
  Pressed,   // every key held down
  Lit,       // every option lamp lit
  Filled,    // the time bar full; the fill is copied 1 .. 134 pixels wide
  Knob,      // drawn on its own, not cut from a face
};

enum class SpriteId {
  PrevPressed, PrevReleased, PausePressed, PauseReleased, PlayPressed, PlayReleased,
  StopPressed, StopReleased, NextPressed, NextReleased, TransportRowReleased,
  MinimisePressed, ClosePressed, TitleButtonsReleased,
  OptionPanelUnlit, OnTopUnlit, PlaylistUnlit, RepeatUnlit,
  OptionPanelLit, OnTopLit, PlaylistLit, RepeatLit,
  TimeBarTrack, VolumeBar, TimeBarFill, VolumeKnob,
};

struct SpriteEntry {
  SpriteId id;
  const char* name;
  Sprite sprite;
  Look look;
  // The sheet holds exactly the face's pixels at the destination. The single
  // transport keys do not: they are read from the whole row, which lands one
  // pixel further up and left.
  bool exact;
};

// Transport keys are 30 x 30; row 0 of the button sheet is pressed, row 1 released.
// The minimise-pressed image follows the face width (width - 49).
inline constexpr std::array<SpriteEntry, 26> kSprites{{
    {SpriteId::PrevPressed, "previous pressed", {Sheet::Buttons, {3, 3, 30, 30}, 24, 149}, Look::Pressed, false},
    {SpriteId::PrevReleased, "previous released", {Sheet::Buttons, {3, 38, 30, 30}, 24, 149}, Look::Released, false},
    {SpriteId::PausePressed, "pause pressed", {Sheet::Buttons, {77, 3, 30, 30}, 98, 149}, Look::Pressed, false},
    {SpriteId::PauseReleased, "pause released", {Sheet::Buttons, {77, 38, 30, 30}, 98, 149}, Look::Released, false},
    {SpriteId::PlayPressed, "play pressed", {Sheet::Buttons, {115, 3, 30, 30}, 136, 149}, Look::Pressed, false},
    {SpriteId::PlayReleased, "play released", {Sheet::Buttons, {115, 38, 30, 30}, 136, 149}, Look::Released, false},
    {SpriteId::StopPressed, "stop pressed", {Sheet::Buttons, {152, 3, 30, 30}, 173, 149}, Look::Pressed, false},
    {SpriteId::StopReleased, "stop released", {Sheet::Buttons, {152, 38, 30, 30}, 173, 149}, Look::Released, false},
    {SpriteId::NextPressed, "next pressed", {Sheet::Buttons, {230, 3, 30, 30}, 250, 149}, Look::Pressed, false},
    {SpriteId::NextReleased, "next released", {Sheet::Buttons, {230, 38, 30, 30}, 250, 149}, Look::Released, false},
    {SpriteId::TransportRowReleased, "transport row", {Sheet::Buttons, {0, 35, 259, 35}, 20, 145}, Look::Released,
     true},
    {SpriteId::MinimisePressed, "minimise pressed", {Sheet::Parts, {0, 0, 20, 25}, kFaceWidth - 49, 0}, Look::Pressed,
     true},
    {SpriteId::ClosePressed, "close pressed", {Sheet::Parts, {24, 0, 25, 25}, 276, 0}, Look::Pressed, true},
    {SpriteId::TitleButtonsReleased, "title keys", {Sheet::Parts, {0, 26, 50, 25}, 252, 0}, Look::Released, true},
    {SpriteId::OptionPanelUnlit, "option panel unlit", {Sheet::Parts, {0, 77, 113, 75}, 175, 25}, Look::Released,
     true},
    {SpriteId::OnTopUnlit, "on-top unlit", {Sheet::Parts, {0, 83, 75, 24}, 175, 31}, Look::Released, true},
    {SpriteId::PlaylistUnlit, "playlist unlit", {Sheet::Parts, {2, 106, 57, 25}, 177, 54}, Look::Released, true},
    {SpriteId::RepeatUnlit, "repeat unlit", {Sheet::Parts, {58, 131, 50, 20}, 233, 79}, Look::Released, true},
    // The lit panel is never copied whole; its three lamps are.
    {SpriteId::OptionPanelLit, "option panel lit", {Sheet::Parts, {0, 152, 113, 75}, 175, 25}, Look::Lit, true},
    {SpriteId::OnTopLit, "on-top lit", {Sheet::Parts, {0, 156, 75, 24}, 175, 29}, Look::Lit, true},
    {SpriteId::PlaylistLit, "playlist lit", {Sheet::Parts, {2, 180, 57, 25}, 177, 53}, Look::Lit, true},
    {SpriteId::RepeatLit, "repeat lit", {Sheet::Parts, {58, 204, 50, 20}, 233, 77}, Look::Lit, true},
    {SpriteId::TimeBarTrack, "time bar track", {Sheet::Parts, {0, 227, 134, 6}, 24, 110}, Look::Released, true},
    {SpriteId::VolumeBar, "volume bar", {Sheet::Parts, {0, 233, 115, 27}, 175, 102}, Look::Released, true},
    {SpriteId::TimeBarFill, "time bar fill", {Sheet::Parts, {0, 72, 134, 5}, 24, 111}, Look::Filled, true},
    // Drawn at the knob's start position; it follows the mouse from there.
    {SpriteId::VolumeKnob, "volume knob", {Sheet::Parts, {0, 52, 7, 20}, 280, 106}, Look::Knob, false},
}};

constexpr const SpriteEntry& SpriteEntryOf(SpriteId id) { return kSprites[static_cast<int>(id)]; }
constexpr const Sprite& SpriteOf(SpriteId id) { return SpriteEntryOf(id).sprite; }

// The knob's travel. It is the volume's scale: the left end is the quietest
// level (0), the right end the loudest (1), evenly in between.
inline constexpr int kKnobMin = 206, kKnobMax = 282;

constexpr double LevelOfKnob(int x) {
  const int on = x < kKnobMin ? kKnobMin : x > kKnobMax ? kKnobMax : x;
  return double(on - kKnobMin) / double(kKnobMax - kKnobMin);
}
// The knob position nearest a level (halves away from the left end).
constexpr int KnobOfLevel(double level) {
  const double on = level > 0 ? (level < 1 ? level : 1) : 0;  // NaN reads as the left end
  return kKnobMin + int(on * (kKnobMax - kKnobMin) + 0.5);
}

// --- Where the player's face answers the mouse ---------------------------------
// In face pixels, both bounds included; the areas never follow the window size.

struct Span {
  double lo, hi;
  constexpr bool Contains(double v) const { return lo <= v && v <= hi; }
};

struct Area {
  Span x, y;
  constexpr bool Contains(double px, double py) const { return x.Contains(px) && y.Contains(py); }
};

// In the order a press tests them.
enum class FaceButton { Minimise, Close, Playlist, Repeat, OnTop, Previous, Pause, Play, Stop, Next };

struct FaceButtonArea {
  FaceButton button;
  Area press;  // for the transport buttons only its x column decides the press
  Area release;
  const char* name;
  Rect key;  // where the artwork draws the key; transport keys as the whole released row puts them
};

// The row of the transport buttons: a press in a transport column outside it is swallowed.
inline constexpr Span kTransportRow{153, 172};

inline constexpr std::array<FaceButtonArea, 10> kFaceButtons{{
    {FaceButton::Minimise, {{261, 269}, {7, 15}}, {{261, 269}, {7, 15}}, "minimise", {260, 6, 11, 11}},
    {FaceButton::Close, {{278, 286}, {7, 15}}, {{278, 286}, {7, 15}}, "close", {277, 6, 11, 11}},
    {FaceButton::Playlist, {{186, 228}, {59, 66}}, {{186, 228}, {59, 66}}, "playlist", {185, 56, 45, 14}},
    {FaceButton::Repeat, {{241, 274}, {84, 90}}, {{241, 274}, {84, 90}}, "repeat", {240, 81, 36, 13}},
    {FaceButton::OnTop, {{186, 243}, {36, 44}}, {{186, 243}, {36, 44}}, "always on top", {185, 34, 60, 14}},
    {FaceButton::Previous, {{28, 49}, kTransportRow}, {{28, 49}, kTransportRow}, "previous", {27, 152, 23, 21}},
    {FaceButton::Pause, {{98, 124}, kTransportRow}, {{98, 124}, kTransportRow}, "pause", {98, 152, 27, 21}},
    {FaceButton::Play, {{136, 162}, kTransportRow}, {{136, 162}, kTransportRow}, "play", {136, 152, 27, 21}},
    {FaceButton::Stop, {{173, 198}, kTransportRow}, {{173, 198}, kTransportRow}, "stop", {173, 152, 26, 21}},
    // One pixel narrower on release: a press at x 276 can never change the track.
    {FaceButton::Next, {{255, 276}, kTransportRow}, {{255, 275}, kTransportRow}, "next", {255, 152, 21, 21}},
}};

constexpr const FaceButtonArea& FaceButtonOf(FaceButton b) { return kFaceButtons[static_cast<int>(b)]; }

// A press in this column (between stop and next) only refreshes the face.
inline constexpr Span kQuietColumn{211, 237};

// The knob follows the left button inside this area; its left edge is the mouse x.
inline constexpr Area kVolumeDrag{{kKnobMin, kKnobMax}, {106, 126}};

// A press on a free part of the face drags the window, except in this column
// and this band (the volume bar, the time bar and the right-hand column).
inline constexpr Span kNoDragColumn{206, 286};
inline constexpr Span kNoDragBand{106, 126};

// --- The playlist window's face ------------------------------------------------

enum class ListButton { Add, Remove, Clear, Save };

struct ListButtonArea {
  ListButton button;
  int left, right;    // both included
  const char* label;  // as painted on the key
};

// The strip the buttons sit in, both bounds included; a press anywhere else
// only moves the window.
inline constexpr int kListButtonTop = 181, kListButtonBottom = 190;

inline constexpr std::array<ListButtonArea, 4> kListButtons{{
    {ListButton::Add, 14, 39, "追加"},
    {ListButton::Remove, 55, 84, "削除"},
    {ListButton::Clear, 103, 145, "クリア"},
    {ListButton::Save, 163, 187, "保存"},
}};

// The track rows: the first row's text starts at (x, top), each next row
// `step` lower; `count` rows show at once, a longer list scrolls.
struct RowLayout {
  int x, top, step, count;
};
inline constexpr RowLayout kListRows{10, 15, 12, 13};
// The band a row's text may touch, from its top: glyphs reach below the step.
inline constexpr int kListRowHeight = 16;

enum class RowColour { Plain, Current, Selected };

struct RowColourEntry {
  RowColour role;
  const char* name;
  Rgb colour;
};

inline constexpr std::array<RowColourEntry, 3> kRowColours{{
    {RowColour::Plain, "plain", {255, 255, 255}},
    {RowColour::Current, "current", {140, 170, 255}},     // the track that plays
    {RowColour::Selected, "selected", {130, 255, 150}},  // the highlighted track
}};

constexpr const Rgb& RowColourOf(RowColour c) { return kRowColours[static_cast<int>(c)].colour; }

}  // namespace kestrafon::skin
