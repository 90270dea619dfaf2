// M3U, M3U8 and PLS text: reading any bytes into entries, and writing M3U8.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "model/cp932_text.h"
#include "model/file_uri.h"
#include "model/playlist_formats.h"

namespace kestrafon {
namespace {

using cp932::kUtf8Bom;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSeparator(char c) { return c == '/' || c == '\\'; }
bool IsBlank(std::string_view s) { return s.find_first_not_of(" \t") == std::string_view::npos; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool StartsInAnyCase(std::string_view s, std::string_view lowerPrefix) {
  if (s.size() < lowerPrefix.size()) return false;
  for (std::size_t i = 0; i < lowerPrefix.size(); ++i)
    if (Lower(s[i]) != lowerPrefix[i]) return false;
  return true;
}

std::string_view Trimmed(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string TextOf(std::string_view bytes, ListEncoding encoding) {
  if (bytes.starts_with(kUtf8Bom)) return cp932::Utf8Replacing(bytes.substr(kUtf8Bom.size()));
  if (cp932::IsValidUtf8(bytes)) return std::string(bytes);
  return encoding == ListEncoding::Utf8 ? cp932::Utf8Replacing(bytes) : cp932::Cp932ToUtf8Replacing(bytes);
}

// Calls `line` with each line of the text, without its line end.
template <typename LineFn>
void ForEachLine(std::string_view text, LineFn&& line) {
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    line(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);  // CR LF leaves a blank line, skipped like any other
  }
}

// A URI scheme ("http:", "rtsp:", "file:"): a letter, then letters, digits,
// '+', '-' or '.', then ':'. One letter alone is a drive ("C:"), not a scheme.
bool HasScheme(std::string_view s) {
  if (s.empty() || !IsAsciiLetter(s[0])) return false;
  for (std::size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == ':') return i >= 2;
    if (!IsAsciiLetter(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return false;
}

// The local path of a file: URI. "file:/a" (one slash, as some players write
// it) is "file:///a"; "file:///C:/a" and "file:///C|/a" name the Windows path
// "C:\a".
std::optional<std::string> PathOfFileUri(std::string_view uri) {
  std::string full(uri);
  if (uri.size() > 5 && uri[5] == '/' && (uri.size() == 6 || uri[6] != '/')) full = "file://" + full.substr(5);
  std::optional<std::string> path = LocalPathFromFileUri(full);
  if (!path) return std::nullopt;
  // The drive letter as written, not escaped: "%3A" stays a POSIX name's colon.
  const std::size_t host = full.find('/', 7);
  const std::string_view raw = std::string_view(full).substr(host);
  const bool drive = raw.size() >= 3 && IsAsciiLetter(raw[1]) && (raw[2] == ':' || raw[2] == '|') &&
                     (raw.size() == 3 || raw[3] == '/');
  if (drive) {
    path->erase(0, 1);
    (*path)[1] = ':';
    std::replace(path->begin(), path->end(), '/', '\\');
  }
  return cp932::Utf8Replacing(*path);
}

// One entry as the list writes it: a path, a file: URI, or something that
// names no local file.
void AddEntry(std::string_view entry, ListEntries& list) {
  if (IsBlank(entry) || entry.find('\0') != std::string_view::npos) return;
  if (StartsInAnyCase(entry, "file:")) {
    if (std::optional<std::string> path = PathOfFileUri(entry))
      list.paths.push_back(std::move(*path));
    else
      ++list.urls;
  } else if (HasScheme(entry)) {
    ++list.urls;
  } else {
    list.paths.emplace_back(entry);
  }
}

// The entry's place below `folder` (which ends in a separator), either kind of
// separator matching the other; nothing when it lies elsewhere.
std::optional<std::string_view> InsideFolder(std::string_view entry, std::string_view folder) {
  if (folder.empty() || entry.size() <= folder.size()) return std::nullopt;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    const bool same = entry[i] == folder[i] || (IsSeparator(entry[i]) && IsSeparator(folder[i]));
    if (!same) return std::nullopt;
  }
  return entry.substr(folder.size());
}

// The line an entry is written as (see EncodeM3u8Text), or nothing.
std::optional<std::string> M3uLine(const std::string& entry, std::string_view listFolder) {
  if (entry.empty() || entry.find('\0') != std::string::npos) return std::nullopt;
  if (entry.find_first_of("\r\n") != std::string::npos) {
    if (entry.front() != '/') return std::nullopt;
    return FileUriFromPath(entry);
  }
  std::optional<std::string_view> inside = InsideFolder(entry, listFolder);
  if (inside && IsAbsoluteEntry(*inside)) inside.reset();  // "/m//a", "/m/C:a": a relative line would not say them
  const std::string_view line = inside ? *inside : std::string_view(entry);
  if (IsAbsoluteEntry(line) || !(IsBlank(line) || line.front() == '#' || HasScheme(line))) return std::string(line);
  const bool backslashes = !listFolder.empty() && listFolder.back() == '\\';
  return std::string(backslashes ? ".\\" : "./") + std::string(line);
}

// A PLS entry: its number, and where it stood among the others.
struct PlsEntry {
  std::uint64_t number;
  std::string_view value;
};

// N of a "FileN" key (any letter case); nothing for any other key.
std::optional<std::uint64_t> PlsFileNumber(std::string_view key) {
  if (key.size() <= 4 || !StartsInAnyCase(key, "file")) return std::nullopt;
  std::uint64_t n = 0;
  for (const char c : key.substr(4)) {
    if (!IsDigit(c)) return std::nullopt;
    const std::uint64_t digit = std::uint64_t(c - '0');
    n = n > (UINT64_MAX - digit) / 10 ? UINT64_MAX : n * 10 + digit;  // a huge N sorts last
  }
  return n;
}

}  // namespace

bool IsAbsoluteEntry(std::string_view path) {
  if (path.empty()) return false;
  if (path.front() == '/') return true;
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
  return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

ListEntries ParseM3uText(std::string_view bytes, ListEncoding encoding) {
  const std::string text = TextOf(bytes, encoding);
  ListEntries list;
  ForEachLine(text, [&list](std::string_view line) {
    if (!line.starts_with('#')) AddEntry(line, list);
  });
  return list;
}

ListEntries ParsePlsText(std::string_view bytes) {
  const std::string text = TextOf(bytes, ListEncoding::Utf8OrCp932);
  std::vector<PlsEntry> numbered;
  bool inPlaylist = true;  // keys before any section count too
  ForEachLine(text, [&](std::string_view line) {
    line = Trimmed(line);
    if (line.starts_with('[')) {
      const std::string_view name = line.substr(1, line.find(']') - 1);
      inPlaylist = name.size() == 8 && StartsInAnyCase(name, "playlist");
      return;
    }
    const std::size_t equals = line.find('=');
    if (!inPlaylist || equals == std::string_view::npos) return;
    if (const std::optional<std::uint64_t> n = PlsFileNumber(Trimmed(line.substr(0, equals))))
      numbered.push_back({*n, Trimmed(line.substr(equals + 1))});
  });
  std::stable_sort(numbered.begin(), numbered.end(),
                   [](const PlsEntry& a, const PlsEntry& b) { return a.number < b.number; });
  ListEntries list;
  for (const PlsEntry& entry : numbered) AddEntry(entry.value, list);
  return list;
}

std::string EncodeM3u8Text(const std::vector<std::string>& entries, std::string_view listFolder) {
  std::string text = "#EXTM3U\r\n";
  for (const std::string& entry : entries) {
    if (const std::optional<std::string> line = M3uLine(entry, listFolder)) {
      text += *line;
      text += "\r\n";
    }
  }
  return text;
}

}  // namespace kestrafon
