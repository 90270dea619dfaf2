// Playlist files on Windows: the same bytes as the Linux build writes (code
// page 932 from Windows' own tables), names outside the code page, and a save
// that replaces the old file whole or not at all.
#include <io.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures/scratch_files.h"
#include "model/cp932_text.h"
#include "model/playlist_file.h"
#include "os/win32/wide_text.h"
#include "windows/save_failure_message.h"

namespace kestrafon {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;

fs::path P(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }
std::string Utf8(const fs::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

using fixtures::Bytes;

class WindowsPlaylistFile : public testing::Test {
 protected:
  // Windows paths, with backslashes, in a folder whose name is outside ASCII.
  std::string Path(const std::string& name) const { return Utf8(P(scratch.path()) / P(name)); }
  static std::string Slurp(const std::string& path) { return fixtures::ReadBytes(path); }
  static void Put(const std::string& path, std::string_view bytes) { fixtures::WriteBytes(path, bytes); }
  std::size_t FileCount() const { return scratch.Names().size(); }

  fixtures::TempDir scratch{"kfl-win-テスト-"};
};

TEST_F(WindowsPlaylistFile, WritesCodePage932LinesEndedByCrLf) {
  const std::string path = Path("list.kfl");
  ASSERT_TRUE(WritePlaylistFile(path, {"C:\\音楽\\ソ.mp3", "～①", "D:\\b c.mp3", "ﾃｽﾄ"}));
  EXPECT_EQ(Slurp(path), "C:\\" + Bytes({0x89, 0xB9, 0x8A, 0x79}) + "\\" + Bytes({0x83, 0x5C}) + ".mp3\r\n" +
                             Bytes({0x81, 0x60, 0x87, 0x40}) + "\r\nD:\\b c.mp3\r\n" +
                             Bytes({0xC3, 0xBD, 0xC4}) + "\r\n");
  // Characters the code page maps only one way, or lacks, make the file UTF-8.
  EXPECT_EQ(EncodePlaylistText({"C:\\¥100.mp3"}), "\xEF\xBB\xBF" "C:\\¥100.mp3\r\n");
  EXPECT_EQ(EncodePlaylistText({"C:\\한.mp3"}), "\xEF\xBB\xBF" "C:\\한.mp3\r\n");
  EXPECT_EQ(cp932::Cp932ToUtf8(Bytes({0x83, 0x5C})), "ソ");
  EXPECT_EQ(cp932::Cp932ToUtf8(Bytes({0x81})), std::nullopt);  // a lead byte alone
}

TEST_F(WindowsPlaylistFile, NamesOutsideTheCodePageSaveAndOpen) {
  const std::string path = Path("한국 😀 ü.kfl");
  const Entries entries{"C:\\音楽\\a.mp3", "C:\\한\\b.mp3"};
  ASSERT_TRUE(WritePlaylistFile(path, entries));
  EXPECT_TRUE(fs::is_regular_file(P(path)));
  Entries back{"untouched"};
  ASSERT_TRUE(ReadPlaylistFile(path, back));
  EXPECT_EQ(back, entries);
  EXPECT_EQ(FileCount(), 1u);  // no temporary file left beside it
}

TEST_F(WindowsPlaylistFile, SavingOverAFileReplacesItWholeAndAnEmptyFileReadsAsNoEntries) {
  const std::string path = Path("old.kfl");
  Put(path, std::string(10000, 'x'));
  ASSERT_TRUE(WritePlaylistFile(path, {"C:\\a.mp3"}));
  EXPECT_EQ(Slurp(path), "C:\\a.mp3\r\n");
  EXPECT_EQ(FileCount(), 1u);
  Put(path, "");
  Entries entries{"untouched"};
  ASSERT_TRUE(ReadPlaylistFile(path, entries));
  EXPECT_TRUE(entries.empty());
}

TEST_F(WindowsPlaylistFile, AFailedSaveLeavesTheOldFileAndNoLeftovers) {
  const std::string path = Path("keep.kfl");
  Put(path, "old\r\n");
  SaveOps failWrite, failFlush, failMove;
  failWrite.write = [](int, const char*, std::size_t) -> long { return -1; };
  failFlush.sync = [](int) { return -1; };
  failMove.rename = [](const char*, const char*) { return -1; };
  for (const SaveOps& ops : {failWrite, failFlush, failMove}) EXPECT_FALSE(WritePlaylistFile(path, {"new"}, ops));
  EXPECT_EQ(Slurp(path), "old\r\n");
  EXPECT_EQ(FileCount(), 1u);
}

TEST_F(WindowsPlaylistFile, AFileAnotherProgramHoldsIsReportedAsInUse) {
  const std::string path = Path("held.kfl");
  Put(path, "old\r\n");
  HANDLE held = CreateFileW(P(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);  // no sharing
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const SaveResult saved = WritePlaylistFile(path, {"new"});
  CloseHandle(held);
  EXPECT_EQ(saved.error, EBUSY);
  EXPECT_EQ(SaveFailureReason(JapaneseTexts(), saved.error), "ほかのプログラムがこのファイルを使っています。");
  EXPECT_EQ(Slurp(path), "old\r\n");
  EXPECT_EQ(scratch.Names(), std::vector<std::string>{"held.kfl"});
}

TEST_F(WindowsPlaylistFile, AFileWithTwoNamesIsWrittenInPlaceAndRestoredOnFailure) {
  const std::string one = Path("one.kfl"), two = Path("two.kfl");
  Put(one, "C:\\old.mp3\r\n");
  ASSERT_TRUE(CreateHardLinkW(P(two).c_str(), P(one).c_str(), nullptr));
  ASSERT_TRUE(WritePlaylistFile(two, {"C:\\new.mp3"}));
  EXPECT_EQ(Slurp(one), "C:\\new.mp3\r\n") << "both names see the new list";

  SaveOps halfWritten;  // the disk fills after four bytes
  halfWritten.write = [](int fd, const char* data, std::size_t size) -> long {
    return size > 4 ? long(::_write(fd, data, 4)) : (errno = ENOSPC, -1L);
  };
  EXPECT_EQ(WritePlaylistFile(one, {"C:\\a much longer entry.mp3"}, halfWritten).error, ENOSPC);
  EXPECT_EQ(Slurp(two), "C:\\new.mp3\r\n") << "the old bytes are back";
  EXPECT_EQ(FileCount(), 2u);
}

TEST_F(WindowsPlaylistFile, APathOf300CharactersSavesAndOpens) {
  std::string folder = scratch.path();
  while (folder.size() < 280) {
    folder += "\\" + std::string(60, 'd');
    ASSERT_TRUE(CreateDirectoryW(os::WidenPath(folder).c_str(), nullptr));
  }
  const std::string path = folder + "\\" + std::string(300 - std::min<std::size_t>(folder.size(), 290) - 5, 'n') + ".kfl";
  ASSERT_GE(path.size(), 300u);
  ASSERT_TRUE(WritePlaylistFile(path, {"C:\\a.mp3"}));
  Entries back;
  ASSERT_TRUE(ReadPlaylistFile(path, back));
  EXPECT_EQ(back, Entries{"C:\\a.mp3"});
  ASSERT_TRUE(WritePlaylistFile(path, {"C:\\b.mp3"})) << "and saves over itself";
  ASSERT_TRUE(ReadPlaylistFile(path, back));
  EXPECT_EQ(back, Entries{"C:\\b.mp3"});
}

TEST_F(WindowsPlaylistFile, DirectoriesMissingFilesAndEmptyPathsAreRefused) {
  const std::string sub = Path("folder.kfl");
  fs::create_directory(P(sub));
  EXPECT_FALSE(WritePlaylistFile(sub, {"a"}));
  EXPECT_TRUE(fs::is_directory(P(sub)));
  EXPECT_FALSE(WritePlaylistFile("", {"a"}));
  EXPECT_FALSE(WritePlaylistFile(Path("no such dir\\x.kfl"), {"a"}));

  Entries entries{"untouched"};
  EXPECT_FALSE(ReadPlaylistFile(sub, entries));
  EXPECT_FALSE(ReadPlaylistFile(Path("missing.kfl"), entries));
  EXPECT_FALSE(ReadPlaylistFile("", entries));
  EXPECT_FALSE(ReadPlaylistFile("\\\\.\\pipe\\kestrafon-none", entries));
  EXPECT_EQ(entries, Entries{"untouched"});
  EXPECT_EQ(FileCount(), 1u);
}

}  // namespace
}  // namespace kestrafon
