#include "model/cp932_text.h"
#include "model/playlist_file.h"

namespace kestrafon {
namespace {

using cp932::kUtf8Bom;

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool EndsPlainItem(char c) { return c == ',' || IsLineEnd(c); }

// True when the reader would not give the entry back as it is written plain.
bool NeedsQuotes(std::string_view entry) {
  if (entry.empty()) return false;
  if (entry.front() == ' ' || entry.back() == ' ' || entry.front() == '"') return true;
  for (const char c : entry)
    if (EndsPlainItem(c)) return true;
  return false;
}

void AppendQuoted(std::string& out, std::string_view entry) {
  out += '"';
  for (const char c : entry) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::vector<std::string> SplitItems(std::string_view s) {
  std::vector<std::string> items;
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    while (i < n && s[i] == ' ') ++i;
    std::string item;
    if (i < n && s[i] == '"') {
      // Up to the closing quote, across commas, spaces and line ends; two
      // quotes in a row stand for one. Without a closing quote: to the end.
      ++i;
      while (i < n) {
        const std::size_t q = s.find('"', i);
        if (q == std::string_view::npos) {
          item.append(s.substr(i));
          i = n;
          break;
        }
        item.append(s.substr(i, q - i));
        i = q + 1;
        if (i < n && s[i] == '"') {
          item += '"';
          ++i;
          continue;
        }
        break;
      }
      // Whatever follows the closing quote before the separator is dropped.
      while (i < n && !EndsPlainItem(s[i])) ++i;
    } else {
      const std::size_t start = i;
      while (i < n && !EndsPlainItem(s[i])) ++i;
      item.assign(s.substr(start, i - start));
    }
    // The separator goes with the item: a comma, CR LF, or a lone CR or LF.
    if (i < n) {
      if (s[i] == '\r' && i + 1 < n && s[i + 1] == '\n') ++i;
      ++i;
    }
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace

std::string EncodePlaylistText(const std::vector<std::string>& entries) {
  std::size_t size = 0;
  for (const auto& e : entries) size += e.size() + 4;
  std::string text;
  text.reserve(size);
  for (const auto& e : entries) {
    if (NeedsQuotes(e))
      AppendQuoted(text, e);
    else
      text += e;
    text += "\r\n";
  }
  if (IsAscii(text)) return text;

  // Code page 932 whenever every entry survives it and the reader cannot
  // take the result for UTF-8; otherwise UTF-8 with a byte-order mark. (Code
  // page text never starts with the mark: EF BB is no code page character.)
  if (auto cp932 = cp932::Utf8ToCp932Exact(text)) {
    if (!cp932::IsValidUtf8(*cp932)) return std::move(*cp932);
  }
  std::string utf8;
  utf8.reserve(kUtf8Bom.size() + text.size());
  utf8 += kUtf8Bom;
  utf8 += text;
  return utf8;
}

std::vector<std::string> ParsePlaylistText(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return SplitItems(bytes.substr(kUtf8Bom.size()));
  if (cp932::IsValidUtf8(bytes)) return SplitItems(bytes);
  return SplitItems(cp932::Cp932ToUtf8Replacing(bytes));
}

std::vector<std::string> ParsePlaylistText(std::string_view bytes, const EntryExists& exists) {
  if (bytes.starts_with(kUtf8Bom) || !cp932::IsValidUtf8(bytes)) return ParsePlaylistText(bytes);
  std::optional<std::string> cp932 = cp932::Cp932ToUtf8(bytes);
  std::vector<std::string> asUtf8 = SplitItems(bytes);
  if (!cp932 || *cp932 == bytes || !exists) return asUtf8;  // only one reading
  std::vector<std::string> asCp932 = SplitItems(*cp932);
  const auto found = [&exists](const std::vector<std::string>& entries) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < entries.size() && i < kEntriesCheckedOnDisk; ++i) n += exists(entries[i]) ? 1 : 0;
    return n;
  };
  // A tie settles nothing: UTF-8, as without the check.
  return found(asCp932) > found(asUtf8) ? asCp932 : asUtf8;
}

}  // namespace kestrafon
