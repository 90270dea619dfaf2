#pragma once
// The five pictures built into the program: the two window backgrounds, the
// two sprite sheets and the icon. Each backend reads them from its own kind
// of resource by the file names listed here.
#include <array>

#include "seam/image.h"

namespace kestrafon {

struct SkinImages {
  Image face;      // player background, 302 x 202
  Image playlist;  // playlist background, 200 x 202
  Image buttons;   // button sheet, 260 x 70
  Image parts;     // parts sheet, 135 x 261
  Image icon;      // 32 x 32
};

struct BuiltInImage {
  const char* file;  // the PNG's name in assets/
  Image SkinImages::*slot;
};

inline constexpr std::array<BuiltInImage, 5> kBuiltInImages{{
    {"face.png", &SkinImages::face},
    {"playlist.png", &SkinImages::playlist},
    {"buttons.png", &SkinImages::buttons},
    {"parts.png", &SkinImages::parts},
    {"icon.png", &SkinImages::icon},
}};

// Fills every slot with what `load` reads for its file name.
template <class Load>
SkinImages LoadBuiltInImages(Load load) {
  SkinImages skin;
  for (const BuiltInImage& image : kBuiltInImages) skin.*image.slot = load(image.file);
  return skin;
}

}  // namespace kestrafon
