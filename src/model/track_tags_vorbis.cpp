// Vorbis comments ("KEY=value", UTF-8): in a FLAC stream's VORBIS_COMMENT
// block, and in the comment header (the second packet) of an Ogg Vorbis or
// Ogg Opus stream.
#include <algorithm>
#include <charconv>

#include "model/track_tags_parts.h"

namespace kestrafon::tags {
namespace {

// Opus keeps its gains as R128_TRACK_GAIN / R128_ALBUM_GAIN: a whole number
// of 1/256 dB towards -23 LUFS, on top of the header's output gain that
// every decoder applies. ReplayGain aims 5 dB louder.
std::optional<double> R128Gain(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int q78 = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), q78);
  if (error != std::errc{} || end != text.data() + text.size() || q78 < -32768 || q78 > 32767) return std::nullopt;
  return q78 / 256.0 + 5.0;
}

// The comment list: vendor string, count, then each comment, every length
// a 32-bit little-endian number. A list cut short gives what it holds.
void ReadCommentList(std::string_view b, bool opus, TrackTags& into) {
  if (b.size() < 4 || Le32(b, 0) > b.size() - 4) return;
  b.remove_prefix(4 + Le32(b, 0));
  if (b.size() < 4) return;
  std::uint32_t count = Le32(b, 0);
  b.remove_prefix(4);
  for (; count > 0 && b.size() >= 4; --count) {
    const std::size_t length = Le32(b, 0);
    if (length > b.size() - 4) return;
    const std::string_view comment = b.substr(4, length);
    b.remove_prefix(4 + length);
    const std::size_t equals = comment.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = comment.substr(0, equals), value = comment.substr(equals + 1);
    if (opus) {
      // ReplayGain tags in Opus aim at another level; only R128 counts.
      if (SameKey(key, "R128_TRACK_GAIN") && !into.gain.trackGainDb) into.gain.trackGainDb = R128Gain(value);
      if (SameKey(key, "R128_ALBUM_GAIN") && !into.gain.albumGainDb) into.gain.albumGainDb = R128Gain(value);
    } else {
      TakeGainItem(key, value, into.gain);
    }
    TakeTextItem(key, Utf8Text(value), into);
  }
}

void ReadFlac(std::string_view b, TrackTags& into) {
  // Metadata blocks: last-block flag and type in one byte, 24-bit length.
  for (std::size_t at = 4; at + 4 <= b.size();) {
    const std::uint32_t type = Byte(b, at) & 0x7F;
    const bool last = Byte(b, at) & 0x80;
    const std::size_t length = Be32(b, at) & 0xFFFFFF;
    if (type == 4) {
      ReadCommentList(b.substr(at + 4, length), false, into);
      return;
    }
    if (last || type == 127) return;
    at += 4 + length;
  }
}

// The first two packets of the first logical stream of an Ogg file: the
// identification header says Vorbis or Opus, the second holds the comments.
// A comment packet cut short by the end of the bytes is read as far as it goes.
void ReadOgg(std::string_view b, TrackTags& into) {
  std::string packet;
  int packets = 0;
  bool opus = false;
  std::uint32_t serial = 0;
  const auto finish = [&] {
    if (packets == 0) {
      opus = packet.starts_with("OpusHead");
      if (!opus && !packet.starts_with("\x01vorbis")) return false;
    } else if (opus ? packet.starts_with("OpusTags") : packet.starts_with("\x03vorbis")) {
      ReadCommentList(std::string_view(packet).substr(opus ? 8 : 7), opus, into);
      return false;
    } else {
      return false;
    }
    ++packets;
    packet.clear();
    return true;
  };
  // Page header: "OggS", version, type, granule (8), serial (4), sequence
  // (4), checksum (4), segment count, then the segment sizes.
  for (std::size_t at = 0; at + 27 <= b.size() && b.substr(at, 4) == "OggS";) {
    const std::size_t segments = Byte(b, at + 26);
    if (at + 27 + segments > b.size()) break;
    const std::uint32_t pageSerial = Le32(b, at + 14);
    if (at == 0) serial = pageSerial;
    std::size_t data = at + 27 + segments;
    for (std::size_t s = 0; s < segments; ++s) {
      const std::size_t lacing = Byte(b, at + 27 + s);
      if (pageSerial == serial) packet.append(b.substr(std::min(data, b.size()), lacing));
      data += lacing;
      if (pageSerial == serial && lacing < 255 && !finish()) return;
    }
    at = data;
  }
  if (packets == 1 && !packet.empty()) finish();
}

}  // namespace

void ReadVorbisComments(std::string_view stream, TrackTags& into) {
  if (stream.starts_with("fLaC")) ReadFlac(stream, into);
  else if (stream.starts_with("OggS")) ReadOgg(stream, into);
}

}  // namespace kestrafon::tags
