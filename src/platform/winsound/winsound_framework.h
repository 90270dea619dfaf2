#pragma once
// The Windows media framework: every file decoded into one waveOut stream,
// MP3 through our frame reader and ACM, other files through Media
// Foundation. Made and used on the window's thread, with COM initialised.
#include <memory>
#include <string>

#include "seam/media.h"

namespace kestrafon {

std::unique_ptr<seam::MediaFramework> MakeWindowsSoundFramework(seam::ReadTrack readTrack = {});

// Which decoders and which output play, in a line or two: for --version,
// so that a listener can say what played on their machine.
std::string DescribeWindowsSound();

}  // namespace kestrafon
