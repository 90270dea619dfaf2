#pragma once
// Reading the answers of the two file dialogs: which files the user chose,
// and which directory the next dialog should start in.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrafon {

struct OpenSelection {
  // Full paths in the order the dialog listed them.
  std::vector<std::string> paths;
  // 0 for a single file, otherwise the number of names after the directory.
  int nameCount = 0;
  // Where the next dialog starts; nothing when the answer names no directory.
  std::optional<std::string> lastDir;
};

// The selection text cut at the first pair of NUL characters, as the
// multiple-selection buffer ends there.
std::string TrimSelectionText(std::string_view text);

// One full path, or the directory and the chosen names separated by NUL
// characters. Nothing for an empty answer.
std::optional<OpenSelection> ParseOpenSelection(std::string_view text);

// The directory to start in after saving to `path`: the path without its
// file name and trailing separator (a root keeps its separator). Nothing
// when the path names no directory.
std::optional<std::string> SaveDialogDir(std::string_view path);

// The directory and a name joined by one separator, never doubled.
std::string JoinPath(std::string_view directory, std::string_view name);

// A name whose last three letters are "kfl" in any letter case is a
// playlist file, dot or no dot.
bool IsPlaylistFileName(std::string_view name);

}  // namespace kestrafon
