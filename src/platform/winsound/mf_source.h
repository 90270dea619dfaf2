#pragma once
// Files other than MP3 (WAV, WMA, AAC, FLAC, Ogg: whatever the system has a
// decoder for), decoded by Media Foundation's Source Reader into 16-bit PCM.
#include <memory>
#include <string>

#include "audio/pcm_source.h"

namespace kestrafon::platform::winsound {

// Null when the file is missing, not an ordinary file, not audio, has no
// known length or no decoder. COM must be multithreaded on the thread that
// opens and on the thread that reads.
std::unique_ptr<audio::PcmSource> OpenMediaFoundationSource(const std::string& utf8Path);

}  // namespace kestrafon::platform::winsound
