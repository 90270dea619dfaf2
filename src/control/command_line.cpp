#include "control/command_line.h"

#include "model/local_files.h"

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
    } else if (options && arg.starts_with("--replaygain=") && ReplayGainModeNamed(arg.substr(13))) {
      line.replayGain = ReplayGainModeNamed(arg.substr(13));
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

std::string UsageText(const TextBook& texts, std::string_view program) {
  return texts.Say(UiText::Usage, {program});
}

std::string VersionText(std::string_view version) {
  std::string text = "kestrafon ";
  text.append(version);
  text.push_back('\n');
  return text;
}

CheckedFiles CheckFiles(const std::vector<std::string>& files, const std::string& workingDir) {
  CheckedFiles checked;
  for (const std::string& file : files) {
    const std::string path = os::AbsolutePath(file, workingDir);
    switch (os::ProbeFile(path)) {
      case os::FileState::Readable: checked.paths.push_back(path); break;
      case os::FileState::Missing: checked.skipped.push_back({file, SkippedFile::Why::Missing}); break;
      case os::FileState::NotAFile: checked.skipped.push_back({file, SkippedFile::Why::NotAFile}); break;
      case os::FileState::Unreadable: checked.skipped.push_back({file, SkippedFile::Why::Unreadable}); break;
    }
  }
  return checked;
}

std::string SkippedLine(const SkippedFile& skipped) {
  const char* why = skipped.why == SkippedFile::Why::Missing    ? "no such file"
                    : skipped.why == SkippedFile::Why::NotAFile ? "not a file"
                                                                : "cannot be read";
  return "kestrafon: " + skipped.file + ": " + why + ", skipped";
}

std::string SkippedMessage(const TextBook& texts, const std::vector<SkippedFile>& skipped) {
  std::string text = texts.Say(UiText::SkippedIntro);
  for (const SkippedFile& file : skipped) {
    const UiText why = file.why == SkippedFile::Why::Missing    ? UiText::SkippedMissing
                       : file.why == SkippedFile::Why::NotAFile ? UiText::SkippedNotAFile
                                                                : UiText::SkippedUnreadable;
    text += '\n';
    text += texts.Say(UiText::SkippedEntry, {file.file, texts.Say(why)});
  }
  return text;
}

}  // namespace kestrafon
