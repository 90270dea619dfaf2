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

  const QImage& Of(skin::Look look) const {
    switch (look) {
      case skin::Look::Pressed: return pressed;
      case skin::Look::Lit: return lit;
      case skin::Look::Filled: return filled;
      default: return released;
    }
  }
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

// Every piece of the parts sheet, cut from the face it shows; the knob is
// drawn on its own.
inline QImage PartsSheet(const Faces& f, const QImage& knob) {
  using namespace skin;
  QImage sheet = NewImage(kPartsSheetWidth, kPartsSheetHeight, palette::kBody);
  for (const SpriteEntry& e : kSprites) {
    const Sprite& s = e.sprite;
    if (s.sheet != Sheet::Parts) continue;
    if (e.look == Look::Knob)
      Blit(sheet, s.source.x, s.source.y, knob, 0, 0, s.source.w, s.source.h);
    else
      CutSprite(sheet, s, f.Of(e.look));
  }
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
  for (const SpriteEntry& e : kSprites) {
    if (!e.exact) continue;
    const QImage& sheet = e.sprite.sheet == Sheet::Buttons ? buttons : parts;
    if (!same(sheet, e.sprite, f.Of(e.look))) return e.name;
  }
  // Every transport key's pressed and released images must sit at the same
  // place on their rows, so that pressing and releasing never shifts a key.
  const std::array<std::pair<SpriteId, SpriteId>, kTransportCount> pairs{{
      {SpriteId::PrevPressed, SpriteId::PrevReleased},
      {SpriteId::PausePressed, SpriteId::PauseReleased},
      {SpriteId::PlayPressed, SpriteId::PlayReleased},
      {SpriteId::StopPressed, SpriteId::StopReleased},
      {SpriteId::NextPressed, SpriteId::NextReleased},
  }};
  const int rowStep = kPrevReleased.source.y - kPrevPressed.source.y;
  for (const auto& [downId, upId] : pairs) {
    const Sprite& down = SpriteOf(downId);
    const Sprite& up = SpriteOf(upId);
    if (down.source.x != up.source.x || up.source.y - down.source.y != rowStep || down.destX != up.destX ||
        down.destY != up.destY)
      return "transport pair";
  }
  return {};
}

}  // namespace kestrafon::artwork
