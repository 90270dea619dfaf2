#include "control/command_line.h"

#include <filesystem>
#include <fstream>

namespace kestrafon {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool options = true;
  for (const std::string& arg : args) {
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "--help" || arg == "-h")) {
      if (line.action == CommandLine::Action::Run) line.action = CommandLine::Action::Help;
    } else if (options && arg == "--version") {
      if (line.action == CommandLine::Action::Run) line.action = CommandLine::Action::Version;
    } else if (options && arg.size() > 1 && arg.front() == '-') {
      // A bad option wins over --help and --version: the usage says why.
      if (line.action != CommandLine::Action::BadOption) {
        line.action = CommandLine::Action::BadOption;
        line.badOption = arg;
      }
    } else {
      line.files.push_back(arg);
    }
  }
  return line;
}

std::string UsageText(std::string_view program) {
  std::string text = "Usage: ";
  text.append(program);
  text.append(
      " [OPTION]... [FILE]...\n"
      "Plays MP3 files. Each FILE (an MP3 or a .kfl playlist) is added to the list\n"
      "in order and the first one added starts playing. When the player is already\n"
      "running, the files go to it.\n"
      "\n"
      "  -h, --help     show this help and exit\n"
      "      --version  show the version and exit\n");
  return text;
}

std::string VersionText(std::string_view version) {
  std::string text = "kestrafon ";
  text.append(version);
  text.push_back('\n');
  return text;
}

CheckedFiles CheckFiles(const std::vector<std::string>& files, const std::string& workingDir) {
  namespace fs = std::filesystem;
  CheckedFiles checked;
  for (const std::string& file : files) {
    fs::path path(file);
    if (path.is_relative()) path = fs::path(workingDir) / path;
    path = path.lexically_normal();
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) {
      checked.problems.push_back("kestrafon: " + file + ": no such file, skipped");
      continue;
    }
    if (!fs::is_regular_file(status)) {
      checked.problems.push_back("kestrafon: " + file + ": not a file, skipped");
      continue;
    }
    std::ifstream probe(path, std::ios::binary);
    if (!probe) {
      checked.problems.push_back("kestrafon: " + file + ": cannot be read, skipped");
      continue;
    }
    checked.paths.push_back(path.string());
  }
  return checked;
}

}  // namespace kestrafon
