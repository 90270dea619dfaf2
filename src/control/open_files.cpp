#include "control/open_files.h"

#include <string_view>

namespace kestrafon {

namespace {

// The directory part of a full path with its trailing separator, and the name.
std::pair<std::string_view, std::string_view> SplitPath(std::string_view path) {
  const std::size_t sep = path.find_last_of("/\\");
  if (sep == std::string_view::npos) return {{}, path};
  return {path.substr(0, sep + 1), path.substr(sep + 1)};
}

}  // namespace

std::vector<std::string> SelectionTexts(const std::vector<std::string>& paths) {
  std::vector<std::string> texts;
  std::size_t i = 0;
  while (i < paths.size()) {
    const auto [dir, name] = SplitPath(paths[i]);
    std::size_t end = i + 1;
    while (end < paths.size() && !dir.empty() && SplitPath(paths[end]).first == dir &&
           !SplitPath(paths[end]).second.empty()) {
      ++end;
    }
    if (end - i == 1 || name.empty()) {
      texts.push_back(paths[i]);
      i += 1;
      continue;
    }
    std::string text(dir);
    for (std::size_t k = i; k < end; ++k) {
      text.push_back('\0');
      text.append(SplitPath(paths[k]).second);
    }
    texts.push_back(std::move(text));
    i = end;
  }
  return texts;
}

std::int32_t AddFiles(PlayerControl& control, WindowCommands& windows, const std::vector<std::string>& paths) {
  std::int32_t added = 0;
  for (const std::string& text : SelectionTexts(paths)) added += control.AddSelection(text);
  if (!paths.empty()) windows.PaintRows();
  return added;
}

bool AddFilesAndPlay(PlayerControl& control, WindowCommands& windows, const std::vector<std::string>& paths) {
  const std::int32_t countBefore = control.EntryCount();
  if (AddFiles(control, windows, paths) <= 0) return false;
  control.PlayEntry(countBefore + 1);
  return true;
}

}  // namespace kestrafon
