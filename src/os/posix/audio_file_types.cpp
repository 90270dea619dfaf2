#include "model/audio_file_types.h"

namespace kestrafon::os {

// GStreamer's decoders in the packages the program depends on (base and
// good plugins): AAC would need the libav plugins, which it does not ask for.
std::string AudioFilePatterns() { return "*.mp3;*.flac;*.ogg;*.oga;*.opus;*.wav"; }

}  // namespace kestrafon::os
