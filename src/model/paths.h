#pragma once
// Paths as the player handles them: a file name is what follows the last
// '\' or '/', so Windows-style entries read from playlist files work on
// every system.
#include <optional>
#include <string>
#include <string_view>

namespace kestrafon {

// The file name part of a path: what follows the last '\' or '/'.
std::string_view FileNameOf(std::string_view path);

// The folder a file lies in, with its trailing separator ("C:\Music\a.mp3"
// gives "C:\Music\"). Nothing when the path names no folder.
std::optional<std::string> FolderOf(std::string_view path);

// The directory to start in after saving to `path`: the path without its
// file name and trailing separator (a root keeps its separator). Nothing
// when the path names no directory.
std::optional<std::string> SaveDialogDir(std::string_view path);

// The directory and a name joined by one separator, never doubled: the kind
// the directory already uses ('/' when it has none).
std::string JoinPath(std::string_view directory, std::string_view name);

// A name whose last three letters are "kfl" in any letter case is a
// playlist file, dot or no dot.
bool IsPlaylistFileName(std::string_view name);

// The kinds of playlist file Add reads: the player's own (the rule above),
// and the lists other players write, known by their extension in any letter
// case (".m3u", ".m3u8", ".pls").
enum class PlaylistKind { None, Kfl, M3u, M3u8, Pls };
PlaylistKind PlaylistKindOf(std::string_view name);

}  // namespace kestrafon
