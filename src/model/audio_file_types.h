#pragma once
// The kinds of file the Add dialog offers besides its MP3 and .kfl filters.
#include <string>

namespace kestrafon::os {

// Every audio file this build's decoders play, as a dialog's patterns
// ("*.mp3;*.flac;..."). Each system's twin answers: the Linux build decodes
// through GStreamer, the Windows one through ACM and Media Foundation.
std::string AudioFilePatterns();

}  // namespace kestrafon::os
