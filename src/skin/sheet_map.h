#pragma once
// Where every piece of the skin lives: the two sprite sheets, the rectangle
// of each sprite on its sheet, and where it lands on the face. This table is
// the only place these numbers are written; drawing code, hit areas and the
// artwork tool all read them from here.
#include "skin/image.h"

namespace kestrafon::skin {

enum class Sheet { Buttons, Parts };

struct Sprite {
  Sheet sheet;
  Rect source;     // rectangle on the sheet
  int destX, destY;  // top-left corner on the face
};

// Window and image sizes.
inline constexpr int kFaceWidth = 303, kFaceHeight = 202;
inline constexpr int kFaceBackgroundWidth = 302, kFaceBackgroundHeight = 202;
inline constexpr int kListWidth = 201, kListHeight = 203;
inline constexpr int kListBackgroundWidth = 200, kListBackgroundHeight = 202;
inline constexpr int kButtonSheetWidth = 260, kButtonSheetHeight = 70;
inline constexpr int kPartsSheetWidth = 135, kPartsSheetHeight = 261;
inline constexpr int kIconSize = 32;
inline constexpr int kRegionCorner = 20;  // ellipse of the rounded window outline

// Text panels of the face.
inline constexpr Rect kTitlePanel{24, 24, 137, 33};
inline constexpr Rect kTimePanel{40, 64, 81, 41};

// Transport buttons: 30 x 30 each; row 0 of the button sheet pressed, row 1 released.
inline constexpr int kTransportSize = 30;
inline constexpr Sprite kPrevPressed{Sheet::Buttons, {3, 3, 30, 30}, 24, 149};
inline constexpr Sprite kPrevReleased{Sheet::Buttons, {3, 38, 30, 30}, 24, 149};
inline constexpr Sprite kPausePressed{Sheet::Buttons, {77, 3, 30, 30}, 98, 149};
inline constexpr Sprite kPauseReleased{Sheet::Buttons, {77, 38, 30, 30}, 98, 149};
inline constexpr Sprite kPlayPressed{Sheet::Buttons, {115, 3, 30, 30}, 136, 149};
inline constexpr Sprite kPlayReleased{Sheet::Buttons, {115, 38, 30, 30}, 136, 149};
inline constexpr Sprite kStopPressed{Sheet::Buttons, {152, 3, 30, 30}, 173, 149};
inline constexpr Sprite kStopReleased{Sheet::Buttons, {152, 38, 30, 30}, 173, 149};
inline constexpr Sprite kNextPressed{Sheet::Buttons, {230, 3, 30, 30}, 250, 149};
inline constexpr Sprite kNextReleased{Sheet::Buttons, {230, 38, 30, 30}, 250, 149};
// The whole released row in one piece; note its offset differs from the single buttons.
inline constexpr Sprite kTransportRowReleased{Sheet::Buttons, {0, 35, 259, 35}, 20, 145};

// Parts sheet. The minimise-pressed image follows the face width (width - 49).
inline constexpr Sprite kMinimisePressed{Sheet::Parts, {0, 0, 20, 25}, kFaceWidth - 49, 0};
inline constexpr Sprite kClosePressed{Sheet::Parts, {24, 0, 25, 25}, 276, 0};
inline constexpr Sprite kTitleButtonsReleased{Sheet::Parts, {0, 26, 50, 25}, 252, 0};
inline constexpr Rect kVolumeKnob{0, 52, 7, 20};
inline constexpr int kVolumeKnobTop = 106;
inline constexpr Rect kTimeBarFill{0, 72, 134, 5};  // drawn 1 .. 134 pixels wide
inline constexpr int kTimeBarFillX = 24, kTimeBarFillY = 111;
inline constexpr int kTimeBarLength = 134;
inline constexpr Sprite kOptionPanelUnlit{Sheet::Parts, {0, 77, 113, 75}, 175, 25};
inline constexpr Sprite kOnTopUnlit{Sheet::Parts, {0, 83, 75, 24}, 175, 31};
inline constexpr Sprite kPlaylistUnlit{Sheet::Parts, {2, 106, 57, 25}, 177, 54};
inline constexpr Sprite kRepeatUnlit{Sheet::Parts, {58, 131, 50, 20}, 233, 79};
inline constexpr Sprite kOptionPanelLit{Sheet::Parts, {0, 152, 113, 75}, 175, 25};  // never copied whole
inline constexpr Sprite kOnTopLit{Sheet::Parts, {0, 156, 75, 24}, 175, 29};
inline constexpr Sprite kPlaylistLit{Sheet::Parts, {2, 180, 57, 25}, 177, 53};
inline constexpr Sprite kRepeatLit{Sheet::Parts, {58, 204, 50, 20}, 233, 77};
inline constexpr Sprite kTimeBarTrack{Sheet::Parts, {0, 227, 134, 6}, 24, 110};
inline constexpr Sprite kVolumeBar{Sheet::Parts, {0, 233, 115, 27}, 175, 102};

// Knob travel and the volume scale's zero point.
inline constexpr int kKnobStart = 280;
inline constexpr int kKnobMin = 206, kKnobMax = 282;
inline constexpr int kVolumeZeroX = 286;
inline constexpr int kVolumeStep = 80;  // hundredths of a decibel per pixel

}  // namespace kestrafon::skin
