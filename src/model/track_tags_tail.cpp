// The tags at a file's end: ID3v1 in the last 128 bytes, and an APEv2 (or
// APEv1) tag just before it or at the very end.
#include <algorithm>

#include "model/track_tags_parts.h"

namespace kestrafon::tags {
namespace {

constexpr std::size_t kId3v1Bytes = 128;
constexpr std::size_t kApeFooterBytes = 32;

bool HasId3v1(std::string_view tail) {
  return tail.size() >= kId3v1Bytes && tail.substr(tail.size() - kId3v1Bytes, 3) == "TAG";
}

// A 30-byte ID3v1 field: up to the first NUL, trailing spaces dropped.
std::string Id3v1Field(std::string_view field) {
  field = field.substr(0, std::min(field.find('\0'), field.size()));
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  return LegacyText(field);
}

}  // namespace

void ReadApeTag(std::string_view tail, TrackTags& into) {
  const std::size_t end = tail.size() - (HasId3v1(tail) ? kId3v1Bytes : 0);
  if (end < kApeFooterBytes) return;
  const std::string_view footer = tail.substr(end - kApeFooterBytes, kApeFooterBytes);
  if (footer.substr(0, 8) != "APETAGEX") return;
  // The size counts the items and the footer; a tag that starts before the
  // bytes at hand is left unread.
  const std::size_t size = Le32(footer, 12);
  if (size < kApeFooterBytes || size > end) return;
  std::string_view items = tail.substr(end - size, size - kApeFooterBytes);
  for (std::uint32_t count = Le32(footer, 16); count > 0 && items.size() >= 8; --count) {
    const std::size_t valueBytes = Le32(items, 0);
    const std::uint32_t flags = Le32(items, 4);
    const std::size_t keyEnd = items.find('\0', 8);
    if (keyEnd == std::string_view::npos || valueBytes > items.size() - keyEnd - 1) return;
    const std::string_view key = items.substr(8, keyEnd - 8);
    std::string_view value = items.substr(keyEnd + 1, valueBytes);
    items.remove_prefix(keyEnd + 1 + valueBytes);
    if ((flags >> 1 & 3) != 0) continue;  // binary data or a link, not text
    value = value.substr(0, std::min(value.find('\0'), value.size()));  // the first of several values
    TakeGainItem(key, value, into.gain);
    TakeTextItem(key, Utf8Text(value), into);
  }
}

void ReadId3v1(std::string_view tail, TrackTags& into) {
  if (!HasId3v1(tail)) return;
  const std::string_view tag = tail.substr(tail.size() - kId3v1Bytes);
  SetIfEmpty(into.title, Id3v1Field(tag.substr(3, 30)));
  SetIfEmpty(into.artist, Id3v1Field(tag.substr(33, 30)));
  SetIfEmpty(into.album, Id3v1Field(tag.substr(63, 30)));
}

}  // namespace kestrafon::tags
