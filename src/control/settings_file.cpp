#include "control/settings_file.h"

#include "model/local_files.h"

namespace kestrafon {

LoadedSettings LoadPlayerSettings(const CommandLine& line) {
  LoadedSettings loaded;
  const std::string folder = os::SettingsFolder();
  if (!folder.empty()) {
    const std::string path = folder + kSettingsFileName;
    const os::FileState state = os::ProbeFile(path);
    const std::optional<std::string> text =
        state == os::FileState::Missing ? std::nullopt : os::ReadSmallFile(path, kMaxSettingsFileBytes);
    if (text) {
      ParsedSettings parsed = ParseSettings(*text);
      loaded.settings = parsed.settings;
      if (!parsed.problem.empty()) loaded.problem = path + ": " + parsed.problem + "; that line is left out";
    } else if (state != os::FileState::Missing) {
      loaded.problem = path + ": cannot be read as settings; the defaults are used";
    }
  }
  if (line.replayGain) loaded.settings.replayGain.mode = *line.replayGain;
  return loaded;
}

}  // namespace kestrafon
