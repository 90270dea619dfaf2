#include "model/dialog_selection.h"

namespace kestrafon {

namespace {

constexpr char kSeparator = '/';

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool EndsWithSeparator(std::string_view s) { return !s.empty() && IsSeparator(s.back()); }

std::size_t LastSeparator(std::string_view s) { return s.find_last_of("/\\"); }

std::vector<std::string_view> SplitAtNul(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t nul = text.find('\0', start);
    parts.push_back(text.substr(start, nul == std::string_view::npos ? std::string_view::npos : nul - start));
    if (nul == std::string_view::npos) return parts;
    start = nul + 1;
  }
}

}  // namespace

std::string TrimSelectionText(std::string_view text) {
  const std::size_t end = text.find(std::string_view("\0\0", 2));
  if (end != std::string_view::npos) text = text.substr(0, end);
  // A single closing NUL is the end of the list, not an empty name.
  if (!text.empty() && text.back() == '\0') text.remove_suffix(1);
  return std::string(text);
}

std::optional<OpenSelection> ParseOpenSelection(std::string_view answer) {
  const std::string text = TrimSelectionText(answer);
  if (text.empty()) return std::nullopt;

  OpenSelection selection;
  if (text.find('\0') == std::string::npos) {
    // One file: the next dialog starts where it lies.
    selection.paths.push_back(text);
    const std::size_t sep = LastSeparator(text);
    if (sep != std::string::npos) selection.lastDir = text.substr(0, sep + 1);
    return selection;
  }

  const std::vector<std::string_view> parts = SplitAtNul(text);
  const std::string_view directory = parts.front();
  selection.nameCount = int(parts.size()) - 1;
  for (std::size_t i = 1; i < parts.size(); ++i) selection.paths.push_back(JoinPath(directory, parts[i]));
  if (!directory.empty()) {
    selection.lastDir = std::string(directory);
    if (!EndsWithSeparator(directory)) selection.lastDir->push_back(kSeparator);
  }
  return selection;
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
  if (!joined.empty() && !EndsWithSeparator(joined)) joined.push_back(kSeparator);
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

}  // namespace kestrafon
