#pragma once
// MP3 files, decoded gaplessly: our frame reader finds the frames and the
// LAME header's delay and padding, the system's ACM decoder decodes them,
// and the samples the encoder and decoder added are cut off, so the file
// plays exactly as long as the Linux build says it lasts.
#include <memory>
#include <string>

#include "audio/pcm_source.h"

namespace kestrafon::platform::winsound {

// Reads the whole file into memory. Null when it is missing, not an
// ordinary disk file, not an MPEG layer III stream, or when ACM has no
// decoder for it.
std::unique_ptr<audio::PcmSource> OpenMp3Source(const std::string& utf8Path);

}  // namespace kestrafon::platform::winsound
