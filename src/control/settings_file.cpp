#include "control/settings_file.h"

#include "model/local_files.h"

namespace kestrafon {

LoadedSettings LoadPlayerSettings(const CommandLine& line, const TextBook& texts) {
  LoadedSettings loaded;
  const std::string folder = os::SettingsFolder();
  if (!folder.empty()) {
    const std::string path = folder + kSettingsFileName;
    const std::optional<std::string> text = os::ReadSmallFile(path, kMaxSettingsFileBytes);
    if (text) {
      ParsedSettings parsed = ParseSettings(*text);
      loaded.settings = parsed.settings;
      if (parsed.badLine > 0)
        loaded.problem = texts.Say(UiText::SettingsBadLine, {path, std::to_string(parsed.badLine), parsed.badText});
    } else if (os::ProbeFile(path) != os::FileState::Missing) {  // only a missing file is no problem
      loaded.problem = texts.Say(UiText::SettingsUnreadable, {path});
    }
  }
  if (line.replayGain) loaded.settings.replayGain.mode = *line.replayGain;
  return loaded;
}

}  // namespace kestrafon
