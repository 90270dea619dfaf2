#pragma once
// What the command line's check and the settings ask of the file system, answered by the
// operating system twins (src/os) with each system's own calls: <filesystem>
// and <fstream> would pull the iostream and locale machinery into the static
// Windows program.
#include <cstddef>
#include <optional>
#include <string>

namespace kestrafon::os {

enum class FileState { Readable, Missing, NotAFile, Unreadable };

// Whether `path` (UTF-8) names a regular file this process can open for
// reading. A named pipe or a folder is NotAFile and is never opened.
FileState ProbeFile(const std::string& path);

// `path` made absolute against `folder`, with "." and ".." steps and
// doubled separators tidied away, in the system's own separators.
std::string AbsolutePath(const std::string& path, const std::string& folder);

// The process's current folder (UTF-8); empty when it cannot be told.
std::string CurrentFolder();

// The user's folder for this program's settings, with a trailing separator
// ($XDG_CONFIG_HOME/kestrafon/ or ~/.config/kestrafon/; %APPDATA%\Kestrafon\);
// empty when there is none.
std::string SettingsFolder();

// The bytes of a regular file of at most `maxBytes`; nothing when it is
// missing, not a regular file, larger, or cannot be read.
std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t maxBytes);

}  // namespace kestrafon::os
