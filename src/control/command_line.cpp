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
    } else if (options && arg == "--enqueue") {
      line.enqueue = true;
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
      "      --enqueue  add the files to the list without playing them\n"
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

namespace {

namespace fs = std::filesystem;

// UTF-8 in and out, whatever the system's own narrow encoding.
fs::path FromUtf8(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }
std::string ToUtf8(const fs::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

}  // namespace

CheckedFiles CheckFiles(const std::vector<std::string>& files, const std::string& workingDir) {
  CheckedFiles checked;
  for (const std::string& file : files) {
    fs::path path = FromUtf8(file);
    if (path.is_relative()) path = FromUtf8(workingDir) / path;
    path = path.lexically_normal();
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) {
      checked.skipped.push_back({file, SkippedFile::Why::Missing});
      continue;
    }
    if (!fs::is_regular_file(status)) {
      checked.skipped.push_back({file, SkippedFile::Why::NotAFile});
      continue;
    }
    std::ifstream probe(path, std::ios::binary);
    if (!probe) {
      checked.skipped.push_back({file, SkippedFile::Why::Unreadable});
      continue;
    }
    checked.paths.push_back(ToUtf8(path));
  }
  return checked;
}

std::string SkippedLine(const SkippedFile& skipped) {
  const char* why = skipped.why == SkippedFile::Why::Missing    ? "no such file"
                    : skipped.why == SkippedFile::Why::NotAFile ? "not a file"
                                                                : "cannot be read";
  return "kestrafon: " + skipped.file + ": " + why + ", skipped";
}

std::string SkippedMessage(const std::vector<SkippedFile>& skipped) {
  std::string text = "次のファイルは開けなかったため、飛ばしました。\n";
  for (const SkippedFile& file : skipped) {
    const char* why = file.why == SkippedFile::Why::Missing    ? "見つかりません"
                      : file.why == SkippedFile::Why::NotAFile ? "ファイルではありません"
                                                               : "読み込めません";
    text += "\n" + file.file + "（" + why + "）";
  }
  return text;
}

}  // namespace kestrafon
