#pragma once
// The artwork compiled into the program as PNG resources, decoded with WIC
// into core images. COM must be initialised on the calling thread.
#include <string_view>

#include "seam/image.h"
#include "seam/skin_images.h"

namespace kestrafon::platform::win32 {

// Decodes PNG (or any format WIC reads) bytes; an empty image when they
// cannot be decoded.
Image DecodeImage(std::string_view bytes);

// The five images of the skin from the program's resources.
SkinImages LoadSkinImages();

}  // namespace kestrafon::platform::win32
