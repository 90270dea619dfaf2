// `kestrafon [FILE...]`: options, files in order, and files that cannot be read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "control/command_line.h"

namespace kestrafon {
namespace {

using ::testing::ElementsAre;
using Action = CommandLine::Action;

TEST(CommandLineTest, OptionsAndFiles) {
  EXPECT_EQ(ParseCommandLine({}).action, Action::Run);
  EXPECT_EQ(ParseCommandLine({"--help"}).action, Action::Help);
  EXPECT_EQ(ParseCommandLine({"a.mp3", "-h"}).action, Action::Help);
  EXPECT_EQ(ParseCommandLine({"--version"}).action, Action::Version);

  const CommandLine bad = ParseCommandLine({"a.mp3", "--shuffle", "--help", "-x"});
  EXPECT_EQ(bad.action, Action::BadOption);
  EXPECT_EQ(bad.badOption, "--shuffle");

  const CommandLine files = ParseCommandLine({"b.mp3", "-", "--", "-odd.mp3", "--help", "a.kfl"});
  EXPECT_EQ(files.action, Action::Run);
  EXPECT_THAT(files.files, ElementsAre("b.mp3", "-", "-odd.mp3", "--help", "a.kfl"));
}

TEST(CommandLineTest, ReadableFilesAreKeptInOrderAndTheRestNamed) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("kestrafon-cli-" + std::to_string(::getpid()));
  fs::create_directories(dir / "sub");
  std::ofstream(dir / "b.mp3") << "x";
  std::ofstream(dir / "a.kfl") << "x";
  std::ofstream(dir / "locked.mp3") << "x";
  ::chmod((dir / "locked.mp3").string().c_str(), 0);
  const bool rootReadsAnything = std::ifstream(dir / "locked.mp3").good();

  const CheckedFiles checked =
      CheckFiles({"b.mp3", "missing.mp3", "sub/../a.kfl", (dir / "sub").string(), "locked.mp3"}, dir.string());
  if (rootReadsAnything) {
    EXPECT_EQ(checked.paths.size(), 3u);
  } else {
    EXPECT_THAT(checked.paths, ElementsAre((dir / "b.mp3").string(), (dir / "a.kfl").string()));
    ASSERT_EQ(checked.problems.size(), 3u);
    EXPECT_NE(checked.problems[2].find("locked.mp3"), std::string::npos);
  }
  EXPECT_NE(checked.problems[0].find("missing.mp3"), std::string::npos);
  EXPECT_EQ(checked.problems[0].find('\n'), std::string::npos);
  // Writable again first: on Windows a read-only file cannot be removed.
  ::chmod((dir / "locked.mp3").string().c_str(), 0600);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kestrafon
