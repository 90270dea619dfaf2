// ID3v2.2, 2.3 and 2.4 tags: the title, artist and album text frames and
// the ReplayGain values taggers keep in user-defined text frames (TXXX).
#include <algorithm>

#include "model/track_tags_parts.h"

namespace kestrafon::tags {
namespace {

constexpr std::size_t kHeaderBytes = 10;

std::uint32_t Syncsafe32(std::string_view b, std::size_t at) {
  return Byte(b, at) << 21 | Byte(b, at + 1) << 14 | Byte(b, at + 2) << 7 | Byte(b, at + 3);
}
bool IsSyncsafe(std::string_view b, std::size_t at) {
  return ((Byte(b, at) | Byte(b, at + 1) | Byte(b, at + 2) | Byte(b, at + 3)) & 0x80) == 0;
}

// Undoes unsynchronisation: every 0xFF 0x00 stood for 0xFF.
std::string Resynchronise(std::string_view b) {
  std::string out;
  out.reserve(b.size());
  for (std::size_t i = 0; i < b.size(); ++i) {
    out += b[i];
    if (static_cast<unsigned char>(b[i]) == 0xFF && i + 1 < b.size() && b[i + 1] == '\0') ++i;
  }
  return out;
}

bool IsFrameId(std::string_view b, std::size_t at, std::size_t length) {
  if (at + length > b.size()) return false;
  for (std::size_t i = at; i < at + length; ++i) {
    const char c = b[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// The first string of `body` in text encoding `encoding` (0 ISO-8859-1,
// 1 UTF-16 with byte-order mark, 2 UTF-16BE, 3 UTF-8), and what follows its
// terminator.
std::string_view FirstString(std::string_view body, int encoding, std::string_view* rest) {
  std::size_t end = 0;
  std::size_t terminator = 1;
  if (encoding == 1 || encoding == 2) {
    terminator = 2;
    while (end + 1 < body.size() && (body[end] != '\0' || body[end + 1] != '\0')) end += 2;
    if (end + 1 >= body.size()) end = body.size();
  } else {
    end = std::min(body.find('\0'), body.size());
  }
  if (rest) *rest = end + terminator <= body.size() ? body.substr(end + terminator) : std::string_view{};
  return body.substr(0, end);
}

std::string Decode(std::string_view bytes, int encoding) {
  switch (encoding) {
    case 1: return Utf16Text(bytes, false);
    case 2: return Utf16Text(bytes, true);
    case 3: return Utf8Text(bytes);
    default: return LegacyText(bytes);
  }
}

void ReadFrame(std::string_view id, std::string_view body, TrackTags& into) {
  if (body.empty() || Byte(body, 0) > 3) return;
  const int encoding = static_cast<int>(Byte(body, 0));
  body.remove_prefix(1);
  std::string* field = id == "TIT2" || id == "TT2"   ? &into.title
                       : id == "TPE1" || id == "TP1" ? &into.artist
                       : id == "TALB" || id == "TAL" ? &into.album
                                                     : nullptr;
  if (field) {
    SetIfEmpty(*field, Decode(FirstString(body, encoding, nullptr), encoding));
  } else if (id == "TXXX" || id == "TXX") {
    std::string_view value;
    const std::string description = Decode(FirstString(body, encoding, &value), encoding);
    TakeGainItem(description, Decode(FirstString(value, encoding, nullptr), encoding), into.gain);
  }
}

// Reads the frames of one tag's body (after the header, resynchronised when
// the whole tag was unsynchronised).
void ReadFrames(std::string_view frames, int version, bool tagUnsynchronised, TrackTags& into) {
  const std::size_t idBytes = version == 2 ? 3 : 4;
  const std::size_t headerBytes = version == 2 ? 6 : 10;
  // A 2.4 size may have been written plainly, as in 2.3: whichever reading
  // lands on the next frame (or the padding, or the end) is believed.
  const auto landsWell = [&](std::size_t next) {
    return next == frames.size() || (next < frames.size() && frames[next] == '\0') || IsFrameId(frames, next, 4);
  };
  std::size_t at = 0;
  while (at + headerBytes <= frames.size() && IsFrameId(frames, at, idBytes)) {
    const std::string_view id = frames.substr(at, idBytes);
    std::size_t size = version == 2 ? Be32(frames, at + 2) & 0xFFFFFF : Be32(frames, at + 4);
    if (version == 4 && IsSyncsafe(frames, at + 4)) {
      const std::size_t syncsafe = Syncsafe32(frames, at + 4);
      if (landsWell(at + headerBytes + syncsafe) || !landsWell(at + headerBytes + size)) size = syncsafe;
    }
    if (size > frames.size() - at - headerBytes) return;  // runs past the tag: keep what was read
    const unsigned flags = version == 2 ? 0 : Byte(frames, at + 9);
    std::string_view body = frames.substr(at + headerBytes, size);
    at += headerBytes + size;

    std::string resynchronised;
    if (version == 3) {
      if (flags & 0xC0) continue;  // compressed or encrypted
      if (flags & 0x20) body.remove_prefix(std::min<std::size_t>(1, body.size()));  // group
    } else if (version == 4) {
      if (flags & 0x0C) continue;  // compressed or encrypted
      if (flags & 0x40) body.remove_prefix(std::min<std::size_t>(1, body.size()));  // group
      if (flags & 0x01) body.remove_prefix(std::min<std::size_t>(4, body.size()));  // data length
      if ((flags & 0x02) || tagUnsynchronised) {
        resynchronised = Resynchronise(body);
        body = resynchronised;
      }
    }
    ReadFrame(id, body, into);
  }
}

}  // namespace

std::size_t ReadId3v2(std::string_view head, TrackTags& into) {
  std::size_t at = 0;
  // Some files carry more than one tag, back to back.
  while (at <= head.size() && head.size() - at >= kHeaderBytes && head.substr(at, 3) == "ID3") {
    const std::string_view header = head.substr(at, kHeaderBytes);
    const int version = static_cast<int>(Byte(header, 3));
    const unsigned flags = Byte(header, 5);
    if (version < 2 || version > 4 || !IsSyncsafe(header, 6)) break;
    const std::size_t size = Syncsafe32(header, 6);
    const std::size_t footer = version == 4 && (flags & 0x10) ? kHeaderBytes : 0;
    std::string_view body = head.substr(at + kHeaderBytes, size);  // cut short by the end of head
    at += kHeaderBytes + size + footer;
    if (version == 2 && (flags & 0x40)) continue;  // compressed, with no way to read it

    // Before 2.4 unsynchronisation covers the whole tag, extended header and
    // frame sizes included; in 2.4 it is undone frame by frame.
    std::string resynchronised;
    const bool unsynchronised = (flags & 0x80) != 0;
    if (unsynchronised && version < 4) {
      resynchronised = Resynchronise(body);
      body = resynchronised;
    }
    if (version >= 3 && (flags & 0x40)) {
      if (body.size() < 4) continue;
      // 2.3 counts the extended header's bytes after its size, 2.4 all of them.
      const std::size_t extended = version == 3 ? std::size_t{4} + Be32(body, 0) : Syncsafe32(body, 0);
      if (extended > body.size()) continue;
      body.remove_prefix(extended);
    }
    ReadFrames(body, version, unsynchronised, into);
  }
  return at;
}

}  // namespace kestrafon::tags
