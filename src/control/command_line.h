#pragma once
// `kestrafon [FILE...]`: what the command line asks for, and which of the
// named files can be handed to the player.
#include <string>
#include <string_view>
#include <vector>

namespace kestrafon {

struct CommandLine {
  enum class Action { Run, Help, Version, BadOption };
  Action action = Action::Run;
  std::vector<std::string> files;  // as given, in order
  std::string badOption;           // the first option not understood
};

// The arguments after the program name. "--" ends the options, so a file
// whose name starts with '-' can still be named.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText(std::string_view program);
std::string VersionText(std::string_view version);

struct CheckedFiles {
  std::vector<std::string> paths;     // absolute, readable regular files, in order
  std::vector<std::string> problems;  // one line for each file left out
};

// Keeps the files that can be read, made absolute against `workingDir`.
CheckedFiles CheckFiles(const std::vector<std::string>& files, const std::string& workingDir);

}  // namespace kestrafon
