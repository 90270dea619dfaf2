#pragma once
// `kestrafon [FILE...]`: what the command line asks for, and which of the
// named files can be handed to the player.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/player_settings.h"
#include "model/ui_texts.h"

namespace kestrafon {

struct CommandLine {
  enum class Action { Run, Help, Version, BadOption };
  Action action = Action::Run;
  std::vector<std::string> files;  // as given, in order
  bool enqueue = false;            // --enqueue: add the files, play nothing
  std::optional<ReplayGainMode> replayGain;  // --replaygain=off|track|album
  std::string badOption;           // the first option not understood
};

// The arguments after the program name. "--" ends the options, so a file
// whose name starts with '-' can still be named.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// --help, in the user's language.
std::string UsageText(const TextBook& texts, std::string_view program);
std::string VersionText(std::string_view version);

// A file of the command line that is left out, and why.
struct SkippedFile {
  enum class Why { Missing, NotAFile, Unreadable };
  std::string file;  // as given
  Why why;
  bool operator==(const SkippedFile&) const = default;
};

struct CheckedFiles {
  std::vector<std::string> paths;     // absolute, readable regular files, in order
  std::vector<SkippedFile> skipped;   // the files left out, in order
};

// Keeps the files that can be read, made absolute against `workingDir`.
// Paths are UTF-8 on every system.
CheckedFiles CheckFiles(const std::vector<std::string>& files, const std::string& workingDir);

// One line for standard error: "kestrafon: a.mp3: no such file, skipped".
std::string SkippedLine(const SkippedFile& skipped);
// The same for a message box (UiText::SkippedTitle), in the user's language,
// all files in one text (for a program without a console).
std::string SkippedMessage(const TextBook& texts, const std::vector<SkippedFile>& skipped);

}  // namespace kestrafon
