#pragma once
// Makes the DirectShow media framework without showing its headers to the
// caller. COM must already be initialised on the calling thread.
#include <memory>

#include "seam/media.h"

namespace kestrafon {

std::unique_ptr<seam::MediaFramework> MakeDirectShowMediaFramework();

}  // namespace kestrafon
