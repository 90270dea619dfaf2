#pragma once
// The settings the player starts with: the user's settings file (see
// model/player_settings.h), then what the command line says.
#include <string>

#include "control/command_line.h"
#include "model/player_settings.h"
#include "model/ui_texts.h"

namespace kestrafon {

struct LoadedSettings {
  PlayerSettings settings;
  // One line for the user when the file could not be read as settings (the
  // defaults stand in for what could not); empty when all is well.
  std::string problem;
};

// A missing file is no problem: the defaults. The problem is said in the
// user's language.
LoadedSettings LoadPlayerSettings(const CommandLine& line, const TextBook& texts);

}  // namespace kestrafon
