#pragma once
// Makes the GStreamer media framework without showing its headers to the caller.
#include <memory>

#include "seam/media.h"

namespace kestrafon {

std::unique_ptr<seam::MediaFramework> MakeGstMediaFramework(seam::ReadTrack readTrack = {});

}  // namespace kestrafon
