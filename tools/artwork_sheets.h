#pragma once
// Cuts the two sprite sheets out of faces drawn in each look, at the
// rectangles of the sheet map, and checks that every piece agrees with the
// face it will be copied onto.
#include <QImage>
#include <QString>

#include <array>
#include <string>

#include "artwork_face.h"
#include "artwork_palette.h"
#include "artwork_pixels.h"
#include "skin/sheet_map.h"

namespace kestrafon::artwork {

struct Faces {
  QImage released;  // everything released and unlit: the face background
  QImage pressed;   // every transport and title key pressed
  QImage lit;       // every option lamp lit
  QImage filled;    // the time bar full
};

inline Faces DrawFaces() {
  Faces f;
  f.released = DrawFace(FaceLook{});
  FaceLook pressed;
  pressed.pressed.fill(true);
  pressed.minimisePressed = pressed.closePressed = true;
  f.pressed = DrawFace(pressed);
  FaceLook lit;
  lit.onTopLit = lit.listLit = lit.repeatLit = true;
  f.lit = DrawFace(lit);
  FaceLook filled;
  filled.timeFill = skin::kTimeBarLength;
  f.filled = DrawFace(filled);
  return f;
}

// Cuts a sprite out of `face` at its destination.
inline void CutSprite(QImage& sheet, const skin::Sprite& s, const QImage& face) {
  Blit(sheet, s.source.x, s.source.y, face, s.destX, s.destY, s.source.w, s.source.h);
}

// The button sheet: the released row as the whole-row copy puts it on the
// face, and above it the same row pressed. The single-button rectangles are
// read from these rows.
inline QImage ButtonSheet(const Faces& f) {
  using namespace skin;
  QImage sheet = NewImage(kButtonSheetWidth, kButtonSheetHeight, palette::kBody);
  const Sprite& row = kTransportRowReleased;
  const int rowWidth = kButtonSheetWidth - row.source.x;  // includes the column past the row
  Blit(sheet, row.source.x, row.source.y, f.released, row.destX, row.destY, rowWidth, row.source.h);
  const int pressedY = row.source.y + (kPrevPressed.source.y - kPrevReleased.source.y);
  Blit(sheet, row.source.x, pressedY, f.pressed, row.destX, row.destY, rowWidth, row.source.h);
  return sheet;
}

inline QImage PartsSheet(const Faces& f, const QImage& knob) {
  using namespace skin;
  QImage sheet = NewImage(kPartsSheetWidth, kPartsSheetHeight, palette::kBody);
  CutSprite(sheet, kMinimisePressed, f.pressed);
  CutSprite(sheet, kClosePressed, f.pressed);
  CutSprite(sheet, kTitleButtonsReleased, f.released);
  Blit(sheet, kVolumeKnob.x, kVolumeKnob.y, knob, 0, 0, kVolumeKnob.w, kVolumeKnob.h);
  Blit(sheet, kTimeBarFill.x, kTimeBarFill.y, f.filled, kTimeBarFillX, kTimeBarFillY, kTimeBarFill.w,
       kTimeBarFill.h);
  CutSprite(sheet, kOptionPanelUnlit, f.released);
  CutSprite(sheet, kOptionPanelLit, f.lit);
  CutSprite(sheet, kTimeBarTrack, f.released);
  CutSprite(sheet, kVolumeBar, f.released);
  return sheet;
}

// Returns an empty string when every sprite, copied to its destination,
// shows exactly the face it was meant for; otherwise names the first that does not.
inline std::string CheckSheets(const Faces& f, const QImage& buttons, const QImage& parts) {
  using namespace skin;
  auto same = [](const QImage& sheet, const Sprite& s, const QImage& face) {
    for (int y = 0; y < s.source.h; ++y)
      for (int x = 0; x < s.source.w; ++x)
        if (sheet.pixel(s.source.x + x, s.source.y + y) != face.pixel(s.destX + x, s.destY + y)) return false;
    return true;
  };
  struct Case {
    const char* name;
    const Sprite& sprite;
    const QImage& face;
    const QImage& sheet;
  };
  const std::array<Case, 11> cases{{
      {"transport row", kTransportRowReleased, f.released, buttons},
      {"minimise pressed", kMinimisePressed, f.pressed, parts},
      {"close pressed", kClosePressed, f.pressed, parts},
      {"title keys", kTitleButtonsReleased, f.released, parts},
      {"on-top unlit", kOnTopUnlit, f.released, parts},
      {"playlist unlit", kPlaylistUnlit, f.released, parts},
      {"repeat unlit", kRepeatUnlit, f.released, parts},
      {"on-top lit", kOnTopLit, f.lit, parts},
      {"playlist lit", kPlaylistLit, f.lit, parts},
      {"repeat lit", kRepeatLit, f.lit, parts},
      {"volume bar", kVolumeBar, f.released, parts},
  }};
  for (const Case& c : cases)
    if (!same(c.sheet, c.sprite, c.face)) return c.name;
  // Every transport key's pressed and released images must sit at the same
  // place on their rows, so that pressing and releasing never shifts a key.
  const std::array<std::pair<Sprite, Sprite>, kTransportCount> pairs{{{kPrevPressed, kPrevReleased},
                                                                      {kPausePressed, kPauseReleased},
                                                                      {kPlayPressed, kPlayReleased},
                                                                      {kStopPressed, kStopReleased},
                                                                      {kNextPressed, kNextReleased}}};
  const int rowStep = kPrevReleased.source.y - kPrevPressed.source.y;
  for (const auto& [down, up] : pairs)
    if (down.source.x != up.source.x || up.source.y - down.source.y != rowStep || down.destX != up.destX ||
        down.destY != up.destY)
      return "transport pair";
  return {};
}

}  // namespace kestrafon::artwork
