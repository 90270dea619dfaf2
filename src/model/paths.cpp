#include "model/paths.h"

namespace kestrafon {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::size_t LastSeparator(std::string_view s) { return s.find_last_of("/\\"); }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// True when `name` ends in `tail` (lower case), in any letter case.
bool EndsInAnyCase(std::string_view name, std::string_view tail) {
  if (name.size() < tail.size()) return false;
  name.remove_prefix(name.size() - tail.size());
  for (std::size_t i = 0; i < tail.size(); ++i)
    if (Lower(name[i]) != tail[i]) return false;
  return true;
}

}  // namespace

std::string_view FileNameOf(std::string_view path) {
  const std::size_t sep = LastSeparator(path);
  return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

std::optional<std::string> FolderOf(std::string_view path) {
  const std::size_t sep = LastSeparator(path);
  if (sep == std::string_view::npos) return std::nullopt;
  return std::string(path.substr(0, sep + 1));
}

std::optional<std::string> SaveDialogDir(std::string_view path) {
  const std::size_t sep = LastSeparator(path);
  if (sep == std::string_view::npos) return std::nullopt;
  std::string_view dir = path.substr(0, sep);
  // "/" and "D:\" stay roots rather than becoming "" or "D:".
  const bool root = dir.empty() || (dir.size() == 2 && dir[1] == ':');
  if (root) dir = path.substr(0, sep + 1);
  return std::string(dir);
}

std::string JoinPath(std::string_view directory, std::string_view name) {
  std::string joined(directory);
  // The folder's own kind of separator: "C:\Music" takes '\', "/home" '/'.
  const std::size_t last = LastSeparator(directory);
  const char separator = last == std::string_view::npos ? '/' : directory[last];
  if (!joined.empty() && !IsSeparator(joined.back())) joined.push_back(separator);
  joined.append(name);
  return joined;
}

bool IsPlaylistFileName(std::string_view name) {
  if (name.size() < 3) return false;
  const std::string_view tail = name.substr(name.size() - 3);
  const char* want = "kfl";
  for (std::size_t i = 0; i < 3; ++i) {
    const char c = tail[i];
    const char lower = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    if (lower != want[i]) return false;
  }
  return true;
}

PlaylistKind PlaylistKindOf(std::string_view name) {
  if (IsPlaylistFileName(name)) return PlaylistKind::Kfl;
  if (EndsInAnyCase(name, ".m3u")) return PlaylistKind::M3u;
  if (EndsInAnyCase(name, ".m3u8")) return PlaylistKind::M3u8;
  if (EndsInAnyCase(name, ".pls")) return PlaylistKind::Pls;
  return PlaylistKind::None;
}

}  // namespace kestrafon
