// `kestrafon [FILE...]`: options, files in order, and files that cannot be read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "control/command_line.h"
#include "fixtures/scratch_files.h"

namespace kestrafon {
namespace {

using ::testing::ElementsAre;
using Action = CommandLine::Action;

TEST(CommandLineTest, OptionsAndFiles) {
  EXPECT_TRUE(ParseCommandLine({"--enqueue", "a.mp3"}).enqueue);
  EXPECT_FALSE(ParseCommandLine({"--", "--enqueue"}).enqueue);
  EXPECT_EQ(ParseCommandLine({}).action, Action::Run);
  EXPECT_EQ(ParseCommandLine({"--help"}).action, Action::Help);
  EXPECT_EQ(ParseCommandLine({"a.mp3", "-h"}).action, Action::Help);
  EXPECT_EQ(ParseCommandLine({"--version"}).action, Action::Version);

  const CommandLine bad = ParseCommandLine({"a.mp3", "--shuffle", "--help", "-x"});
  EXPECT_EQ(bad.action, Action::BadOption);
  EXPECT_EQ(bad.badOption, "--shuffle");
  EXPECT_EQ(ParseCommandLine({"--replaygain=album"}).replayGain, ReplayGainMode::Album);
  EXPECT_EQ(ParseCommandLine({"--replaygain=loud"}).badOption, "--replaygain=loud");

  const CommandLine files = ParseCommandLine({"b.mp3", "-", "--", "-odd.mp3", "--help", "a.kfl"});
  EXPECT_EQ(files.action, Action::Run);
  EXPECT_THAT(files.files, ElementsAre("b.mp3", "-", "-odd.mp3", "--help", "a.kfl"));
}

TEST(CommandLineTest, ReadableFilesAreKeptInOrderAndTheRestNamed) {
  fixtures::TempDir dir("kestrafon-cli-");
  std::filesystem::create_directories(dir.File("sub"));
  for (const char* name : {"b.mp3", "a.kfl", "曲 ü.mp3", "locked.mp3"}) fixtures::WriteBytes(dir.File(name), "x");
  ::chmod(dir.File("locked.mp3").c_str(), 0);
  const bool readsAnything = !fixtures::ReadBytes(dir.File("locked.mp3")).empty();  // root, or Windows

  const CheckedFiles checked =
      CheckFiles({"b.mp3", "missing.mp3", "sub/../a.kfl", "曲 ü.mp3", dir.File("sub"), "locked.mp3"}, dir.path());
  // Where each kept file is, in the system's own separators.
  const auto at = [&](const char* name) {
    const std::string path = dir.File(name);
    const std::u8string normal =
        std::filesystem::path(std::u8string(path.begin(), path.end())).lexically_normal().u8string();
    return std::string(normal.begin(), normal.end());
  };
  std::vector<std::string> kept{at("b.mp3"), at("a.kfl"), at("曲 ü.mp3")};
  if (readsAnything) kept.push_back(at("locked.mp3"));
  EXPECT_EQ(checked.paths, kept);

  ASSERT_EQ(checked.skipped.size(), readsAnything ? 2u : 3u);
  EXPECT_EQ(SkippedLine(checked.skipped[0]), "kestrafon: missing.mp3: no such file, skipped");
  EXPECT_EQ(checked.skipped[1].why, SkippedFile::Why::NotAFile);
  EXPECT_EQ(SkippedMessage(JapaneseTexts(), {checked.skipped[0]}),
            "次のファイルは開けなかったため、飛ばしました。\n\nmissing.mp3（見つかりません）");
  ::chmod(dir.File("locked.mp3").c_str(), 0600);  // a read-only file cannot be removed on Windows
}

}  // namespace
}  // namespace kestrafon
