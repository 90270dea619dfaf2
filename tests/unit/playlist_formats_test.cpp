// M3U, M3U8 and PLS lists: read from the disk as Add reads them, saved as
// M3U8 and read back, and lists that are not what they claim to be. Built
// for Windows too, where the list's folder is a Windows path.
#include "model/playlist_formats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/test_app.h"
#include "fixtures/scratch_files.h"
#include "model/paths.h"

namespace kestrafon {
namespace {

using Entries = std::vector<std::string>;
using fixtures::Bytes;

#ifdef _WIN32
constexpr char kSep = '\\';
#else
constexpr char kSep = '/';
#endif

constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

class PlaylistFormats : public testing::Test {
 protected:
  // The scratch folder's path to `relative` ('/' between its parts), in the
  // system's separators, as the reader makes a relative entry absolute.
  std::string In(std::string relative) const {
    std::replace(relative.begin(), relative.end(), '/', kSep);
    return scratch.path() + kSep + relative;
  }
  std::string Parent() const { return scratch.path().substr(0, scratch.path().find_last_of("/\\")); }

  fixtures::TempDir scratch{"kfl-formats-"};
};

// --- reading ----------------------------------------------------------------

TEST_F(PlaylistFormats, ReadsEachKindOfListAsOtherPlayersWriteIt) {
  struct Case {
    const char* what;
    std::string name;
    std::string bytes;
    Entries want;  // entries starting with '@' lie in the list's folder
    std::size_t urls;
  };
  const Case cases[] = {
      {"relative entries lie in the list's folder", "rel.m3u",
       "#EXTM3U\r\n#EXTINF:61,Artist - Title\r\nMusic/a.mp3\r\nb c.mp3\r\n",
       {"@Music/a.mp3", "@b c.mp3"}, 0},
      {"absolute entries stay as written", "abs.m3u8", "/abs/b.mp3\nC:\\Music\\c.mp3\n\\\\nas\\share\\d.mp3\n",
       {"/abs/b.mp3", "C:\\Music\\c.mp3", "\\\\nas\\share\\d.mp3"}, 0},
      {"file:// URIs are decoded, %20 and UTF-8 escapes too", "uri.M3U",
       "file:///home/u/a%20b.mp3\nfile:///home/u/%E6%9B%B2.mp3\nfile://localhost/z.mp3\nfile:/one/slash.mp3\n"
       "file:///C:/Music/x%20y.mp3\nFILE:///D|/e.mp3\nfile:///posix/C%3A/f.mp3\n",
       {"/home/u/a b.mp3", "/home/u/曲.mp3", "/z.mp3", "/one/slash.mp3", "C:\\Music\\x y.mp3", "D:\\e.mp3",
        "/posix/C:/f.mp3"},
       0},
      {"URLs and other hosts' files are left out and counted", "urls.m3u",
       "http://radio/a.mp3\nD:\\e.mp3\nhttps://x/y\nrtsp://z\nmms://w\nfile://otherhost/g.mp3\nfile:///bad%zz\n",
       {"D:\\e.mp3"}, 6},
      {"comments and blank lines are skipped", "comments.m3u",
       "#EXTM3U\n# a note\n#EXTINF:-1,Radio\n\n   \n\t\n/a.mp3\n#/not.mp3\n", {"/a.mp3"}, 0},
      {"CR LF, LF and CR all end lines", "ends.m3u8", "/a.mp3\r\n/b.mp3\n/c.mp3\r/d.mp3",
       {"/a.mp3", "/b.mp3", "/c.mp3", "/d.mp3"}, 0},
      {"a byte-order mark is skipped", "bom.m3u", std::string(kUtf8Bom) + "#EXTM3U\r\n/曲.mp3\r\n", {"/曲.mp3"}, 0},
      {"code page 932 when .m3u text is not UTF-8", "sjis.m3u",
       "C:\\" + Bytes({0x89, 0xB9, 0x8A, 0x79}) + "\\" + Bytes({0x83, 0x5C}) + ".mp3\r\n", {"C:\\音楽\\ソ.mp3"}, 0},
      {".m3u8 is UTF-8 whatever it holds", "sjis.m3u8", "C:\\" + Bytes({0x89, 0x79}) + ".mp3\r\n",
       {"C:\\\uFFFDy.mp3"}, 0},
      {"PLS entries in the order of their numbers", "list.PLS",
       "[playlist]\r\nNumberOfEntries=4\r\nFile2=/b.mp3\r\nTitle2=B\r\nfile10 = /j.mp3\r\nFile1=rel/a.mp3\r\n"
       "File3=http://u/s\r\nLength1=-1\r\nVersion=2\r\n[other]\r\nFile4=/not.mp3\r\n",
       {"@rel/a.mp3", "/b.mp3", "/j.mp3"}, 1},
      {"PLS in code page 932, with file:// URIs", "sjis.pls",
       "[Playlist]\nFile1=" + Bytes({0x8B, 0xC8}) + ".mp3\nFile2=file:///C:/x.mp3\n", {"@曲.mp3", "C:\\x.mp3"}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = In(c.name);
    fixtures::WriteBytes(path, c.bytes);
    Entries want;
    for (const std::string& w : c.want) want.push_back(w.starts_with('@') ? In(w.substr(1)) : w);
    ListEntries got;
    ASSERT_TRUE(ReadListFile(path, got));
    EXPECT_EQ(got.paths, want);
    EXPECT_EQ(got.urls, c.urls);
  }
}

TEST_F(PlaylistFormats, DotStepsOfRelativeEntriesAreTidiedAway) {
  const std::string path = In("up.m3u8");
  fixtures::WriteBytes(path, "../up.mp3\n./here.mp3\n");
  ListEntries got;
  ASSERT_TRUE(ReadListFile(path, got));
  EXPECT_EQ(got.paths, (Entries{Parent() + kSep + "up.mp3", In("here.mp3")}));
}

TEST_F(PlaylistFormats, KindIsToldByTheExtensionAndKflKeepsItsOwnRule) {
  const std::pair<const char*, PlaylistKind> names[] = {
      {"/l/a.m3u", PlaylistKind::M3u},   {"/l/a.M3U", PlaylistKind::M3u},     {"/l/a.m3u8", PlaylistKind::M3u8},
      {"C:\\l\\A.M3U8", PlaylistKind::M3u8}, {"/l/a.pls", PlaylistKind::Pls}, {"/l/a.PlS", PlaylistKind::Pls},
      {"/l/a.kfl", PlaylistKind::Kfl},   {"/l/akfl", PlaylistKind::Kfl},      {"/l/a.m3u.mp3", PlaylistKind::None},
      {"/l/am3u", PlaylistKind::None},   {"/l/a.mp3", PlaylistKind::None},    {"", PlaylistKind::None},
  };
  for (const auto& [name, kind] : names) EXPECT_EQ(PlaylistKindOf(name), kind) << name;
}

// --- saving -----------------------------------------------------------------

TEST_F(PlaylistFormats, SavedM3u8ReadsBackWithEntriesInsideTheFolderRelative) {
  fakes::TestApp app;
  TrackList& tracks = app.ctx.tracks();
  const Entries list = {In("sub/a.mp3"), In("b c.mp3"), In("#hash.mp3"), In("http:odd.mp3"),
                        "/elsewhere/x.mp3", "C:\\Other\\曲.mp3", Parent() + kSep + "beside.mp3"};
  for (const std::string& entry : list) tracks.Append(entry);
  const std::string path = In("list.M3U8");
  ASSERT_TRUE(SavePlaylistFile(tracks, path));

  const std::string dot = std::string(".") + kSep;
  const std::string sub = std::string("sub") + kSep + "a.mp3";
  EXPECT_EQ(fixtures::ReadBytes(path), "#EXTM3U\r\n" + sub + "\r\nb c.mp3\r\n" + dot + "#hash.mp3\r\n" + dot +
                                           "http:odd.mp3\r\n/elsewhere/x.mp3\r\nC:\\Other\\曲.mp3\r\n" + Parent() +
                                           kSep + "beside.mp3\r\n");

  tracks.Resize(0);
  app.ctx.control().AddFiles({path});
  Entries back;
  for (std::int32_t i = 1; i <= tracks.Count(); ++i) back.push_back(tracks.PathAt(i));
  EXPECT_EQ(back, list);
  EXPECT_TRUE(app.desktop.messages.empty());
}

TEST_F(PlaylistFormats, EntriesTheReaderWouldMistakeAreWrittenApart) {
  // An entry with a line break can only be a URI; one that names no file is left out.
  EXPECT_EQ(EncodeM3u8Text({"/a\nb.mp3", "", "C:\\a\rb.mp3", "/ok.mp3"}, ""),
            "#EXTM3U\r\nfile:///a%0Ab.mp3\r\n/ok.mp3\r\n");
  const ListEntries back = ParseM3uText(EncodeM3u8Text({"/a\nb.mp3", "/m/ #x"}, "/m/"), ListEncoding::Utf8);
  EXPECT_EQ(back.paths, (Entries{"/a\nb.mp3", " #x"}));
}

// --- lists that are not what they claim -------------------------------------

TEST_F(PlaylistFormats, MalformedListsGiveWhatCanBeReadAndNeverExpandAList) {
  const std::string self = In("self.m3u");
  const std::string longName(1 << 20, 'x');
  fixtures::WriteBytes(self, "self.m3u\n" + Bytes({0x00, 0xFF, 0xFE, 0x0A}) + "/bin" + Bytes({0x00}) + "ary\n" +
                                 longName + "\nother.pls\n/ok.mp3\n");
  fixtures::WriteBytes(In("other.pls"), "[playlist]\nFile1=self.m3u\n");

  fakes::TestApp app;
  EXPECT_EQ(app.ctx.control().AddFiles({self}), 4);
  Entries back;
  for (std::int32_t i = 1; i <= app.ctx.tracks().Count(); ++i) back.push_back(app.ctx.tracks().PathAt(i));
  // The NUL lines name no file; the lists named inside are entries, not read.
  EXPECT_EQ(back, (Entries{self, In(longName), In("other.pls"), "/ok.mp3"}));

  // A missing list, or a folder with a list's name, adds nothing.
  ListEntries untouched{{"kept"}, 7};
  EXPECT_FALSE(ReadListFile(In("missing.m3u8"), untouched));
  EXPECT_FALSE(ReadListFile(scratch.path(), untouched));
  EXPECT_EQ(untouched.paths, Entries{"kept"});
  EXPECT_EQ(untouched.urls, 7u);
}

TEST_F(PlaylistFormats, UrlsLeftOutOfOneAddAreSaidOnce) {
  fixtures::WriteBytes(In("a.m3u"), "http://one/a\n/a.mp3\nhttps://two/b\n");
  fixtures::WriteBytes(In("b.pls"), "[playlist]\nFile1=mms://three/c\nFile2=/b.mp3\n");
  fakes::TestApp app;
  EXPECT_EQ(app.ctx.control().AddFiles({In("a.m3u"), "/c.mp3", In("b.pls")}), 3);
  ASSERT_EQ(app.desktop.messages.size(), 1u);
  EXPECT_EQ(app.desktop.messages[0].title, "追加しなかった項目");
  EXPECT_NE(app.desktop.messages[0].text.find("URL（3件）"), std::string::npos) << app.desktop.messages[0].text;

  app.ctx.control().AddFiles({In("a.m3u")});
  EXPECT_EQ(app.desktop.messages.size(), 2u) << "each Add says its own";
  app.ctx.control().AddFiles({"/d.mp3"});
  EXPECT_EQ(app.desktop.messages.size(), 2u);
}

}  // namespace
}  // namespace kestrafon
