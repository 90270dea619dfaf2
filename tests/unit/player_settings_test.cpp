// The settings file: what it may say, what a bad line costs (only itself),
// and the command line's word over it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "control/settings_file.h"
#include "fixtures/scratch_files.h"

namespace kestrafon {
namespace {

using Mode = ReplayGainMode;

TEST(PlayerSettings, EachLineIsReadOnItsOwn) {
  const struct {
    const char* text;
    ReplayGainSettings expected;
    int badLine;
  } cases[] = {
      {"", {}, 0},
      {"\xEF\xBB\xBF# mine\r\nreplaygain = album\r\n\r\nreplaygain-preamp=+2.5\n", {Mode::Album, 2.5, 0}, 0},
      {"replaygain=off\nreplaygain-untagged = -6", {Mode::Off, 0, -6}, 0},
      {"replaygain = loud\nreplaygain-preamp = 3", {Mode::Track, 3, 0}, 1},
      {"replaygain-preamp = 3,5\nreplaygain-untagged = 99\nvolume = 11", {}, 1},
      {"replaygain-preamp = nan\n\x01\x02\xFF", {}, 1},
      {"; old style\n\nreplaygain\n", {}, 3},
  };
  for (const auto& c : cases) {
    const ParsedSettings parsed = ParseSettings(c.text);
    EXPECT_EQ(parsed.settings.replayGain, c.expected) << c.text;
    EXPECT_EQ(parsed.badLine, c.badLine) << c.text;
  }
}

TEST(PlayerSettings, TheFileInTheUsersFolderThenTheCommandLine) {
  fixtures::TempDir home("kestrafon-settings-");
  ::setenv("XDG_CONFIG_HOME", home.path().c_str(), 1);
  ::setenv("APPDATA", home.path().c_str(), 1);
  const std::string file = home.File("kestrafon/settings.ini");

  LoadedSettings none = LoadPlayerSettings({}, JapaneseTexts());
  EXPECT_EQ(none.settings, PlayerSettings{});
  EXPECT_EQ(none.problem, "") << "no file: the defaults, silently";

  std::filesystem::create_directories(home.File("kestrafon"));
  fixtures::WriteBytes(file, "replaygain = album\nreplaygain-preamp = x\n");
  const LoadedSettings bad = LoadPlayerSettings({}, JapaneseTexts());
  EXPECT_EQ(bad.settings.replayGain.mode, Mode::Album);
  EXPECT_NE(bad.problem.find("2 行目は設定として読めないため、使いません: replaygain-preamp = x"), std::string::npos)
      << bad.problem;

  CommandLine line;
  line.replayGain = Mode::Off;
  EXPECT_EQ(LoadPlayerSettings(line, JapaneseTexts()).settings.replayGain.mode, Mode::Off);

  std::filesystem::remove(file);
  std::filesystem::create_directories(file);  // a folder where the file should be
  EXPECT_NE(LoadPlayerSettings({}, JapaneseTexts()).problem.find("設定として読めないため、既定の設定を使います"), std::string::npos);
  ::unsetenv("XDG_CONFIG_HOME");
  ::unsetenv("APPDATA");
}

}  // namespace
}  // namespace kestrafon
