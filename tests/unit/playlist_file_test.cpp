#include "model/playlist_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures/scratch_files.h"
#include "fakes/test_app.h"
#include "model/cp932_text.h"

namespace kestrafon {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;

constexpr std::string_view kBom = "\xEF\xBB\xBF";

using fixtures::Bytes;

class PlaylistFile : public testing::Test {
 protected:
  std::string Path(const std::string& name) const { return scratch.File(name); }
  static std::string Slurp(const std::string& path) { return fixtures::ReadBytes(path); }
  static void Put(const std::string& path, std::string_view bytes) { fixtures::WriteBytes(path, bytes); }
  std::vector<std::string> DirNames() const { return scratch.Names(); }
  Entries RoundTrip(const Entries& entries) {
    const std::string path = Path("round.kfl");
    EXPECT_TRUE(WritePlaylistFile(path, entries));
    Entries back{"untouched"};
    EXPECT_TRUE(ReadPlaylistFile(path, back));
    return back;
  }

  fixtures::TempDir scratch{"kfl-test-"};
  fs::path dir{scratch.path()};
};

// --- the bytes written -----------------------------------------------------

TEST_F(PlaylistFile, WritesOneCrLfLinePerEntryInTheOriginalForm) {
  const std::string path = Path("two.kfl");
  ASSERT_TRUE(WritePlaylistFile(path, {"C:\\Music\\a.mp3", "D:\\b c.mp3"}));
  EXPECT_EQ(Slurp(path), "C:\\Music\\a.mp3\r\nD:\\b c.mp3\r\n");

  ASSERT_TRUE(WritePlaylistFile(path, {"C:\\Music\\a.mp3"}));  // replaces the whole file
  EXPECT_EQ(Slurp(path), "C:\\Music\\a.mp3\r\n");
}

TEST_F(PlaylistFile, EntriesThatFitTheCodePageAreWrittenInIt) {
  EXPECT_EQ(EncodePlaylistText({"C:\\音楽\\ソ.mp3", "～①"}),
            "C:\\" + Bytes({0x89, 0xB9, 0x8A, 0x79}) + "\\" + Bytes({0x83, 0x5C}) + ".mp3\r\n" +
                Bytes({0x81, 0x60, 0x87, 0x40}) + "\r\n");
  EXPECT_EQ(EncodePlaylistText({"ﾃｽﾄ"}), Bytes({0xC3, 0xBD, 0xC4, 0x0D, 0x0A}));
  // No quoting where the plain form reads back the same.
  EXPECT_EQ(EncodePlaylistText({"", "C:\\a\"b.mp3", "a  b", "\tx"}), "\r\nC:\\a\"b.mp3\r\na  b\r\n\tx\r\n");
  EXPECT_EQ(EncodePlaylistText({}), "");
}

TEST_F(PlaylistFile, QuotesEntriesThatWouldNotReadBackPlain) {
  EXPECT_EQ(EncodePlaylistText({"C:\\a, b.mp3"}), "\"C:\\a, b.mp3\"\r\n");
  EXPECT_EQ(EncodePlaylistText({" lead.mp3"}), "\" lead.mp3\"\r\n");
  EXPECT_EQ(EncodePlaylistText({"trail.mp3 "}), "\"trail.mp3 \"\r\n");
  EXPECT_EQ(EncodePlaylistText({"\"q\".mp3"}), "\"\"\"q\"\".mp3\"\r\n");
  EXPECT_EQ(EncodePlaylistText({"two\nlines"}), "\"two\nlines\"\r\n");
  EXPECT_EQ(EncodePlaylistText({"a,\"b"}), "\"a,\"\"b\"\r\n");
}

TEST_F(PlaylistFile, EntriesOutsideTheCodePageMakeTheFileUtf8) {
  EXPECT_EQ(EncodePlaylistText({"C:\\a.mp3", "C:\\café.mp3"}), std::string(kBom) + "C:\\a.mp3\r\nC:\\café.mp3\r\n");
  EXPECT_EQ(EncodePlaylistText({"😀"}), std::string(kBom) + "😀\r\n");
  // ¥ has a code page form, but it reads back as '\'.
  EXPECT_EQ(EncodePlaylistText({"C:\\¥100.mp3"}), std::string(kBom) + "C:\\¥100.mp3\r\n");
  // Code page bytes that would read as UTF-8 (ﾃｽ is C3 BD, "ý") go as UTF-8 too.
  EXPECT_EQ(EncodePlaylistText({"ﾃｽ"}), std::string(kBom) + "ﾃｽ\r\n");
}

// --- the reader's item rules -----------------------------------------------

struct ReadCase {
  const char* what;
  std::string bytes;
  Entries entries;
};

TEST(PlaylistReader, ItemRules) {
  const ReadCase cases[] = {
      {"empty file", "", {}},
      {"three lines", "a\r\nb\r\nc\r\n", {"a", "b", "c"}},
      {"extra empty line", "a\r\n\r\n", {"a", ""}},
      {"only an empty line", "\r\n", {""}},
      {"empty lines between", "a\r\n\r\n\r\nb\r\n", {"a", "", "", "b"}},
      {"comma separates", "C:\\a, b.mp3\r\n", {"C:\\a", "b.mp3"}},
      {"quotes keep commas", "\"C:\\a, b.mp3\"\r\n", {"C:\\a, b.mp3"}},
      {"quotes keep spaces", "\"  x  \"\r\n", {"  x  "}},
      {"leading spaces skipped", "   x\r\n", {"x"}},
      {"spaces before a quote skipped", "  \" y\"\r\n", {" y"}},
      {"trailing spaces kept", "x  \r\n", {"x  "}},
      {"several commas", "a,b,,c\r\n", {"a", "b", "", "c"}},
      {"comma before line end", "a,\r\nb\r\n", {"a", "", "b"}},
      {"comma at the end of the file", "a,", {"a"}},
      {"last line without line end", "a\r\nlast", {"a", "last"}},
      {"lone LF and CR", "a\nb\rc\r\n", {"a", "b", "c"}},
      {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
      {"text after the closing quote dropped", "\"ab\"cd,e\r\n", {"ab", "e"}},
      {"closing quote then line end", "\"ab\"  \r\nc", {"ab", "c"}},
      {"unclosed quote runs to the end", "\"abc\r\ndef", {"abc\r\ndef"}},
      {"quoted line end kept", "\"a\r\nb\"\r\n", {"a\r\nb"}},
      {"doubled quote inside quotes", "\"a\"\"b\"\r\n", {"a\"b"}},
      {"empty quoted item", "\"\",x\r\n", {"", "x"}},
      {"quote inside a plain item", "C:\\a\"b.mp3\r\n", {"C:\\a\"b.mp3"}},
      {"spaces only", "a\r\n   ", {"a", ""}},
      {"NUL bytes kept", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
      {"tab is not a space", "\tx\r\n", {"\tx"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParsePlaylistText(c.bytes), c.entries) << c.what;
}

TEST(PlaylistReader, ChoosesTheEncoding) {
  // Code page 932, including a trail byte equal to '\'.
  EXPECT_EQ(ParsePlaylistText("C:\\" + Bytes({0x89, 0xB9, 0x8A, 0x79, '\\', 0x83, 0x5C}) + ".mp3\r\n"),
            Entries{"C:\\音楽\\ソ.mp3"});
  EXPECT_EQ(ParsePlaylistText(std::string(kBom) + "café\r\n😀\r\n"), (Entries{"café", "😀"}));
  EXPECT_EQ(ParsePlaylistText("café\r\n"), Entries{"café"});  // UTF-8 without a mark
  // Only the first mark is taken off.
  EXPECT_EQ(ParsePlaylistText(std::string(kBom) + std::string(kBom) + "x"), Entries{std::string(kBom) + "x"});
  // Neither UTF-8 nor code page 932: undecodable bytes become U+FFFD.
  EXPECT_EQ(ParsePlaylistText(Bytes({0x81, ',', 0xFF, '\r', '\n', 0x83, 0x65})), (Entries{"\uFFFD", "\uFFFD", "テ"}));
}

TEST(PlaylistReader, SurvivesHostileInput) {
  const std::string big(1 << 20, 'x');
  EXPECT_EQ(ParsePlaylistText(big), Entries{big});
  EXPECT_EQ(ParsePlaylistText(std::string(1000, '"')).size(), 1u);
  EXPECT_EQ(ParsePlaylistText(std::string(1000, ',')).size(), 1000u);
  EXPECT_EQ(ParsePlaylistText(std::string(1000, '\n')).size(), 1000u);
  EXPECT_EQ(ParsePlaylistText("\""), Entries{""});
  EXPECT_EQ(ParsePlaylistText(std::string(1, '\0')), Entries{std::string(1, '\0')});
  EXPECT_EQ(ParsePlaylistText(std::string(kBom)), Entries{});
  EXPECT_EQ(ParsePlaylistText(Bytes({0x81})), Entries{"\uFFFD"});
}

TEST(PlaylistReader, TextValidInBothEncodingsIsReadInTheOneWhoseEntriesExist) {
  const std::string katakana = Bytes({0xC3, 0xBD}) + ".mp3\r\n";  // ﾃｽ.mp3 in the code page, "ý.mp3" as UTF-8
  const auto only = [](std::string name) {
    return [name](const std::string& p) { return p == name; };
  };
  EXPECT_EQ(ParsePlaylistText(katakana, only("ﾃｽ.mp3")), Entries{"ﾃｽ.mp3"});
  EXPECT_EQ(ParsePlaylistText(katakana, only("ý.mp3")), Entries{"ý.mp3"});
  EXPECT_EQ(ParsePlaylistText(katakana, only("elsewhere")), Entries{"ý.mp3"}) << "nothing settled: as UTF-8";
  // Only the first eight entries count.
  std::string late;
  for (int i = 0; i < 8; ++i) late += "x" + std::to_string(i) + "\r\n";
  late += katakana;
  EXPECT_EQ(ParsePlaylistText(late, only("ﾃｽ.mp3")).back(), "ý.mp3");
  // Text that is only one of the two is never looked up.
  int looked = 0;
  const auto count = [&looked](const std::string&) { return ++looked, true; };
  EXPECT_EQ(ParsePlaylistText("あ.mp3\r\n", count), Entries{"あ.mp3"});
  EXPECT_EQ(ParsePlaylistText(Bytes({0x83, 0x65}), count), Entries{"テ"});
  EXPECT_EQ(ParsePlaylistText("plain\r\n", count), Entries{"plain"});
  EXPECT_EQ(looked, 0);
}

TEST_F(PlaylistFile, ReadsKatakanaNamesThatLookLikeUtf8AsTheFilesOnDisk) {
  const std::string song = Path("ﾃｽ.mp3");
  Put(song, "x");
  const std::string fifo = Path("ﾃｽﾃｽ.mp3");  // looked at, never opened
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string list = Path("list.kfl");
  Put(list, *cp932::Utf8ToCp932(song + "\r\n" + fifo + "\r\n"));
  ASSERT_TRUE(cp932::IsValidUtf8(Slurp(list))) << "the case in question: both readings are valid";
  Entries entries;
  ASSERT_TRUE(ReadPlaylistFile(list, entries));
  EXPECT_EQ(entries, (Entries{song, fifo}));
}

TEST_F(PlaylistFile, ANamedPipeAddedAsAPlaylistAddsNothingAndHoldsNothing) {
  const std::string fifo = Path("x.kfl");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fakes::TestApp app;
  app.Start();
  app.ctx.playlistWindow().Show();
  app.ctx.tracks().Append("/m/1.mp3");
  app.desktop.openAnswers = {{fifo}};
  app.desktop.playlist->sink->OnMouseDown(seam::kLeftButton, 20, 185);  // Add
  EXPECT_EQ(app.ctx.tracks().Count(), 1);
}

// --- round trips -----------------------------------------------------------

TEST_F(PlaylistFile, AwkwardEntriesComeBackUnchanged) {
  const Entries awkward = {
      "C:\\a, b.mp3",  " leading.mp3", "trailing.mp3 ", "   ",        "\"quoted\".mp3", "\"",
      "a\"\"b",        "C:\\音楽\\曲.mp3", "ｱｲｳ.mp3",     "ﾃｽ",        "D:\\ソ\\表.mp3", "",
      "/home/u/Music/song.mp3", "\\\\server\\share\\x.mp3", "～∥①", "a\r\nb", "a\rb", "a\nb",
      std::string("nul\0inside", 10), ",", ",,", "\"\",\"\"",
  };
  EXPECT_EQ(RoundTrip(awkward), awkward);
  const std::string bytes = Slurp(Path("round.kfl"));
  EXPECT_FALSE(bytes.starts_with(kBom));  // all in the code page, and not UTF-8 as a whole

  const Entries foreign = {"C:\\café.mp3", "😀.mp3", "C:\\¥.mp3", "〜", "한국어", "", " é, x "};
  EXPECT_EQ(RoundTrip(foreign), foreign);
  EXPECT_TRUE(Slurp(Path("round.kfl")).starts_with(kBom));

  for (const Entries& single : {Entries{"ﾃｽ"}, Entries{""}, Entries{" "}, Entries{"\xEF\xBB\xBF"},
                                Entries{"\xEF\xBB\xBFx"}}) {
    EXPECT_EQ(RoundTrip(single), single);
  }
  // Bytes that are not UTF-8 at all are kept as they were.
  const Entries raw = {"C:\\\xFF\xFE.mp3", "\x81", "\xE3\x81"};
  EXPECT_EQ(RoundTrip(raw), raw);
}

TEST(PlaylistWriter, CodePageTextNeverStartsWithAUtf8Mark) {
  // The writer relies on this: EF BB is no code page 932 character, so a
  // file it writes in the code page cannot be taken for marked UTF-8.
  EXPECT_FALSE(cp932::Cp932ToUtf8(Bytes({0xEF, 0xBB})));
  EXPECT_FALSE(cp932::Cp932ToUtf8(Bytes({0xEF, 0xBB, 0xBF})));
}

// --- saving never destroys the previous file -------------------------------

TEST_F(PlaylistFile, SavingThroughALinkReplacesTheFileItPointsTo) {
  const std::string real = Path("real.kfl"), link = Path("link.kfl");
  Put(real, "old\r\n");
  ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
  ASSERT_TRUE(WritePlaylistFile(link, {"new"}));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Slurp(real), "new\r\n");
}

TEST_F(PlaylistFile, AFileThatCannotBeCreatedChangesNothing) {
  EXPECT_FALSE(WritePlaylistFile(Path("missing/dir/list.kfl"), {"a"}));
  EXPECT_FALSE(WritePlaylistFile("", {"a"}));
  fs::create_directory(dir / "taken.kfl");
  Put(Path("taken.kfl/inside"), "x");
  EXPECT_FALSE(WritePlaylistFile(Path("taken.kfl"), {"a"}));  // a directory is never replaced
  EXPECT_EQ(Slurp(Path("taken.kfl/inside")), "x");
  EXPECT_EQ(DirNames(), std::vector<std::string>{"taken.kfl"});
}

class FailingSave : public PlaylistFile {
 protected:
  void SetUp() override {
    PlaylistFile::SetUp();
    path = Path("list.kfl");
    Put(path, "C:\\old\\one.mp3\r\nC:\\old\\two.mp3\r\n");
  }
  void ExpectOldFileIntact() {
    EXPECT_EQ(Slurp(path), "C:\\old\\one.mp3\r\nC:\\old\\two.mp3\r\n");
    EXPECT_EQ(DirNames(), std::vector<std::string>{"list.kfl"});  // no partial file left
  }
  Entries Many() const { return Entries(2000, "C:\\new\\some long path name.mp3"); }
  std::string path;
};

TEST_F(FailingSave, DiskFullLeavesTheOldFile) {
  // Every byte goes to /dev/full, which answers as a full disk does.
  const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  ASSERT_GE(full, 0);
  SaveOps ops;
  ops.write = [full](int, const char* data, std::size_t size) { return long(::write(full, data, size)); };
  EXPECT_FALSE(WritePlaylistFile(path, Many(), ops));
  ::close(full);
  ExpectOldFileIntact();
}

TEST_F(FailingSave, AWriteFailingHalfwayLeavesTheOldFile) {
  std::size_t written = 0;
  SaveOps ops;
  ops.write = [&written](int fd, const char* data, std::size_t size) -> long {
    if (written > 10000) {
      errno = ENOSPC;
      return -1;
    }
    const long n = long(::write(fd, data, std::min<std::size_t>(size, 4096)));  // short writes
    written += std::size_t(n);
    return n;
  };
  EXPECT_FALSE(WritePlaylistFile(path, Many(), ops));
  EXPECT_GT(written, 10000u);
  ExpectOldFileIntact();
}

TEST_F(FailingSave, ShortWritesStillWriteEverything) {
  SaveOps ops;
  ops.write = [](int fd, const char* data, std::size_t size) -> long {
    return long(::write(fd, data, std::min<std::size_t>(size, 7)));
  };
  const Entries entries = Many();
  ASSERT_TRUE(WritePlaylistFile(path, entries, ops));
  EXPECT_EQ(Slurp(path), EncodePlaylistText(entries));
}

TEST_F(FailingSave, AFailedFlushOrRenameLeavesTheOldFile) {
  SaveOps syncFails;
  syncFails.sync = [](int) {
    errno = EIO;
    return -1;
  };
  EXPECT_FALSE(WritePlaylistFile(path, Many(), syncFails));
  ExpectOldFileIntact();

  SaveOps renameFails;
  renameFails.rename = [](const char*, const char*) {
    errno = EXDEV;
    return -1;
  };
  EXPECT_FALSE(WritePlaylistFile(path, Many(), renameFails));
  ExpectOldFileIntact();
}

// --- reading into the player -----------------------------------------------

TEST_F(PlaylistFile, AppendsBehindTheListAndLeavesTrackNumbersAlone) {
  fakes::TestApp app;
  TrackList& p = app.ctx.tracks();
  p.Append("C:\\first.mp3");
  p.SetCurrentEntry(1);
  p.SelectEntry(1);
  const std::string path = Path("three.kfl");
  Put(path, "C:\\a.mp3\r\n\"C:\\b, c.mp3\"\r\nnot a file\r\n");
  ASSERT_TRUE(AppendPlaylistFile(p, path));
  ASSERT_EQ(p.Count(), 4);
  EXPECT_EQ(p.PathAt(1), "C:\\first.mp3");
  EXPECT_EQ(p.PathAt(2), "C:\\a.mp3");
  EXPECT_EQ(p.PathAt(3), "C:\\b, c.mp3");
  EXPECT_EQ(p.PathAt(4), "not a file");
  EXPECT_EQ(p.CurrentEntry(), 1);
  EXPECT_EQ(p.SelectedEntry(), 1);

  Put(path, "");
  ASSERT_TRUE(AppendPlaylistFile(p, path));
  EXPECT_EQ(p.Count(), 4);
}

TEST_F(PlaylistFile, AFileThatCannotBeReadChangesNothing) {
  fakes::TestApp app;
  TrackList& p = app.ctx.tracks();
  p.Append("C:\\first.mp3");
  Entries entries{"kept"};
  EXPECT_FALSE(ReadPlaylistFile(Path("missing.kfl"), entries));
  EXPECT_FALSE(ReadPlaylistFile(dir.string(), entries));  // a directory
  const std::string fifo = Path("pipe.kfl");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadPlaylistFile(fifo, entries));  // refused, not waited on
  const std::string huge = Path("huge.kfl");  // sparse: takes no disk space
  Put(huge, "");
  ASSERT_EQ(::truncate(huge.c_str(), off_t(kMaxPlaylistFileBytes) + 1), 0);
  EXPECT_FALSE(ReadPlaylistFile(huge, entries));
  EXPECT_EQ(entries, Entries{"kept"});
  EXPECT_FALSE(AppendPlaylistFile(p, Path("missing.kfl")));
  EXPECT_FALSE(AppendPlaylistFile(p, fifo));
  EXPECT_EQ(p.Count(), 1);
}

TEST_F(PlaylistFile, SavesThePlayersListAndReadsItBack) {
  fakes::TestApp app;
  TrackList& p = app.ctx.tracks();
  const Entries list = {"C:\\音楽\\a.mp3", "C:\\x, y.mp3", ""};
  for (const auto& e : list) p.Append(e);
  const std::string path = Path("saved.kfl");
  ASSERT_TRUE(SavePlaylistFile(p, path));
  EXPECT_EQ(p.Count(), 3);  // the list in memory is unchanged
  p.Resize(0);
  ASSERT_TRUE(AppendPlaylistFile(p, path));
  ASSERT_EQ(p.Count(), 3);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(p.PathAt(i), list[std::size_t(i - 1)]);
}

}  // namespace
}  // namespace kestrafon
