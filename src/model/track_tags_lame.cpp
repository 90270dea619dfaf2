// The gain LAME measures while encoding, kept in the LAME extension of the
// Xing/Info frame that opens the stream: the loudness fallback for files
// that were never tagged with ReplayGain.
#include "model/track_tags_parts.h"

namespace kestrafon::tags {
namespace {

// How far past the tags the first frame is looked for: encoders put the
// Info frame right there, after at most a little padding.
constexpr std::size_t kSearchBytes = 8192;

// Where "Xing"/"Info" sits in a layer III frame starting at `at`, after the
// header and the side information; 0 when the bytes are no such header.
std::size_t InfoOffset(std::string_view b, std::size_t at) {
  if (Byte(b, at) != 0xFF || (Byte(b, at + 1) & 0xE0) != 0xE0) return 0;
  const std::uint32_t version = Byte(b, at + 1) >> 3 & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
  const std::uint32_t layer = Byte(b, at + 1) >> 1 & 3;    // 1 is layer III
  const std::uint32_t bitrate = Byte(b, at + 2) >> 4;
  const std::uint32_t rate = Byte(b, at + 2) >> 2 & 3;
  if (version == 1 || layer != 1 || bitrate == 0 || bitrate == 15 || rate == 3) return 0;
  const bool mono = (Byte(b, at + 3) >> 6) == 3;
  return 4 + (version == 3 ? (mono ? 17 : 32) : (mono ? 9 : 17));
}

}  // namespace

void ReadLameGain(std::string_view audio, ReplayGainInfo& into) {
  for (std::size_t at = 0; at < kSearchBytes && at + 4 <= audio.size(); ++at) {
    const std::size_t info = InfoOffset(audio, at);
    if (info == 0 || at + info + 8 > audio.size()) continue;
    const std::string_view tag = audio.substr(at + info, 4);
    if (tag != "Xing" && tag != "Info") continue;
    const std::uint32_t flags = Be32(audio, at + info + 4);
    // Frame count, byte count, seek table and quality come first when present.
    const std::size_t lame = at + info + 8 + (flags & 1 ? 4 : 0) + (flags & 2 ? 4 : 0) + (flags & 4 ? 100 : 0) +
                             (flags & 8 ? 4 : 0);
    // Encoder name (9), revision (1), low-pass (1), peak (4), radio gain (2).
    if (lame + 17 > audio.size()) return;
    const std::string_view encoder = audio.substr(lame, 4);
    if (encoder != "LAME" && encoder != "Lavf" && encoder != "Lavc") return;
    // The peak is fixed point, 1.0 at 2^23; 0 means not measured.
    const std::uint32_t peak = Be32(audio, lame + 11);
    if (peak != 0) into.trackPeak = peak / 8388608.0;
    // Radio gain: name (3 bits, 1 = radio), originator (3), sign (1), then
    // tenths of a decibel (9).
    const std::uint32_t radio = Be16(audio, lame + 15);
    if ((radio >> 13) == 1) into.trackGainDb = ((radio & 0x200) ? -1 : 1) * static_cast<int>(radio & 0x1FF) / 10.0;
    return;
  }
}

}  // namespace kestrafon::tags
