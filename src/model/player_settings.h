#pragma once
// The player's few settings. The face has no room for them, so they live in
// a small text file the user edits, read at start:
//
//   # a comment
//   replaygain = track           off, track or album
//   replaygain-preamp = 0        dB added to every tagged gain (-15 to 15)
//   replaygain-untagged = 0      dB for files without gain tags (-15 to 15)
#include <optional>
#include <string>
#include <string_view>

namespace kestrafon {

enum class ReplayGainMode { Off, Track, Album };

struct ReplayGainSettings {
  ReplayGainMode mode = ReplayGainMode::Track;
  double preampDb = 0;
  double untaggedDb = 0;  // untagged files play unchanged
  bool operator==(const ReplayGainSettings&) const = default;
};

struct PlayerSettings {
  ReplayGainSettings replayGain;
  bool operator==(const PlayerSettings&) const = default;
};

struct ParsedSettings {
  PlayerSettings settings;  // each line that cannot be read keeps its default
  int badLine = 0;          // the first such line's number (from 1); 0 when none
  std::string badText;      // its start, as written
};

ParsedSettings ParseSettings(std::string_view text);

// "off", "track" or "album"; nothing for anything else.
std::optional<ReplayGainMode> ReplayGainModeNamed(std::string_view name);

// The settings file's name inside the settings folder.
inline constexpr const char* kSettingsFileName = "settings.ini";
// Larger than this, it is not a settings file.
inline constexpr std::size_t kMaxSettingsFileBytes = 64 * 1024;

}  // namespace kestrafon
