#pragma once
// The skin's colours: graphite body, black LCD, one amber accent for lit lamps.
#include <QColor>

namespace kestrafon::artwork::palette {

// Body of the windows.
inline const QColor kBody{54, 57, 62};
inline const QColor kBodyLit{108, 113, 121};     // soft highlight of the outer bevel
inline const QColor kBodyShade{30, 31, 35};      // soft shadow of the outer bevel
inline const QColor kRim{9, 9, 11};              // the outermost ring

// Recessed plates and trays.
inline const QColor kPlate{42, 44, 48};
inline const QColor kRecessShade{20, 21, 24};    // upper-left edge of a recess
inline const QColor kRecessLit{82, 86, 92};      // lower-right edge of a recess
inline const QColor kHole{24, 25, 28};           // speaker grille holes
inline const QColor kHoleLit{66, 69, 75};

// Raised keys.
inline const QColor kKeyTop{92, 96, 104};
inline const QColor kKeyBottom{66, 69, 76};
inline const QColor kKeyLit{138, 143, 152};
inline const QColor kKeyShade{44, 46, 51};
inline const QColor kKeyRim{14, 15, 17};
// Keys pushed in.
inline const QColor kKeyDownTop{32, 34, 37};
inline const QColor kKeyDownBottom{42, 44, 48};
inline const QColor kKeyDownShade{12, 12, 14};
inline const QColor kKeyDownLit{74, 77, 83};

// Symbols and writing.
inline const QColor kGlyph{226, 230, 236};
inline const QColor kGlyphShadow{30, 31, 35};
inline const QColor kCaption{154, 160, 168};
inline const QColor kCaptionShadow{28, 29, 32};

// The LCD and the accent.
inline const QColor kLcd{0, 0, 0};
inline const QColor kAccent{255, 168, 44};
inline const QColor kAccentHi{255, 218, 150};
inline const QColor kAccentLo{196, 108, 12};
inline const QColor kLampOff{72, 62, 52};
inline const QColor kLampOffLo{52, 46, 40};
inline const QColor kSegmentOff{44, 34, 20};

// The playlist's row area.
inline const QColor kListTop{10, 11, 14};
inline const QColor kListStripe{17, 19, 24};

// Knob metal.
inline const QColor kKnobTop{196, 200, 207};
inline const QColor kKnobBottom{128, 132, 140};

}  // namespace kestrafon::artwork::palette
