#pragma once
// The pieces of ReadTrackTags, one tag format each. Every reader fills only
// the fields of `into` that are still empty, so the order of the calls is
// the order of precedence.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/track_tags.h"

namespace kestrafon::tags {

// Bounds are the caller's: each reads bytes [at, at + n) of `b`.
inline std::uint32_t Byte(std::string_view b, std::size_t at) { return static_cast<unsigned char>(b[at]); }
inline std::uint32_t Be16(std::string_view b, std::size_t at) { return Byte(b, at) << 8 | Byte(b, at + 1); }
inline std::uint32_t Be32(std::string_view b, std::size_t at) { return Be16(b, at) << 16 | Be16(b, at + 2); }
inline std::uint32_t Le32(std::string_view b, std::size_t at) {
  return Byte(b, at) | Byte(b, at + 1) << 8 | Byte(b, at + 2) << 16 | Byte(b, at + 3) << 24;
}

// Text decoding (track_tags_text.cpp), all to UTF-8.
// Bytes of no declared encoding (ID3v1, ID3v2's "ISO-8859-1"): UTF-8 when
// valid, else code page 932 when they read as Japanese, else Latin-1 with
// Windows-1252 in 0x80-0x9F.
std::string LegacyText(std::string_view bytes);
// UTF-16 with an optional byte-order mark; without one, big-endian or not
// as told.
std::string Utf16Text(std::string_view bytes, bool bigEndian);
// UTF-8 that may be malformed: malformed text is read as LegacyText.
std::string Utf8Text(std::string_view bytes);
// A decimal number such as "-6.48 dB", "+1.20", "0.988212" or "-6,48",
// whatever the C locale; what follows the number is ignored.
std::optional<double> ParseDecimal(std::string_view text);

// What a tag's named items give (track_tags.cpp): TITLE, ARTIST, ALBUM and
// REPLAYGAIN_TRACK_GAIN ... REPLAYGAIN_ALBUM_PEAK, keys in any case.
void TakeTextItem(std::string_view key, std::string utf8, TrackTags& into);
void TakeGainItem(std::string_view key, std::string_view text, ReplayGainInfo& into);
bool SameKey(std::string_view a, std::string_view b);
void SetIfEmpty(std::string& field, std::string value);

// ID3v2 tags at the start of `head` (track_tags_id3v2.cpp). Gives where
// the data after them starts, which may lie past the end of `head`.
std::size_t ReadId3v2(std::string_view head, TrackTags& into);

// The tags at the end of the file (track_tags_tail.cpp): APEv2, then ID3v1.
void ReadApeTag(std::string_view tail, TrackTags& into);
void ReadId3v1(std::string_view tail, TrackTags& into);

// The Radio Replay Gain and peak of a LAME header in the first MPEG audio
// frame at the start of `audio` (track_tags_lame.cpp).
void ReadLameGain(std::string_view audio, ReplayGainInfo& into);

// Vorbis comments of a FLAC stream or an Ogg Vorbis / Opus stream starting
// `stream` (track_tags_vorbis.cpp); nothing for anything else.
void ReadVorbisComments(std::string_view stream, TrackTags& into);

}  // namespace kestrafon::tags
