#pragma once
// The artwork built into the program, as core images.
#include <QImage>
#include <QString>

#include "seam/skin_images.h"

namespace kestrafon::platform::qt {

// Reads the five built-in PNGs. A missing one gives an empty image.
SkinImages LoadSkinImages();

// One image in the core's pixel layout (0xAARRGGBB, row by row).
Image ToCoreImage(const QImage& image);

}  // namespace kestrafon::platform::qt
