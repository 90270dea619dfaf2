#include "model/audio_file_types.h"

namespace kestrafon::os {

// What Windows decodes out of the box (Media Foundation from Windows 10 on;
// MP3 through ACM).
std::string AudioFilePatterns() { return "*.mp3;*.flac;*.m4a;*.aac;*.wav;*.wma"; }

}  // namespace kestrafon::os
