#include "model/track_tags.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "fixtures/scratch_files.h"

namespace kestrafon {

void PrintTo(const TrackTags& t, std::ostream* os) {
  const auto number = [](const std::optional<double>& v) { return v ? std::to_string(*v) : std::string("-"); };
  *os << "{" << t.title << " | " << t.artist << " | " << t.album << " | gain " << number(t.gain.trackGainDb) << " "
      << number(t.gain.trackPeak) << " " << number(t.gain.albumGainDb) << " " << number(t.gain.albumPeak) << "}";
}

namespace {

using fixtures::Bytes;
using namespace std::string_literals;

std::string Be16(std::uint32_t n) { return Bytes({int(n >> 8 & 0xFF), int(n & 0xFF)}); }
std::string Be32(std::uint32_t n) { return Be16(n >> 16) + Be16(n & 0xFFFF); }
std::string Le32(std::uint32_t n) { return Bytes({int(n & 0xFF), int(n >> 8 & 0xFF), int(n >> 16 & 0xFF), int(n >> 24)}); }
std::string Syncsafe(std::uint32_t n) { return Bytes({int(n >> 21 & 0x7F), int(n >> 14 & 0x7F), int(n >> 7 & 0x7F), int(n & 0x7F)}); }

std::string Unsynchronise(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    out += s[i];
    if (static_cast<unsigned char>(s[i]) == 0xFF &&
        (i + 1 == s.size() || s[i + 1] == '\0' || static_cast<unsigned char>(s[i + 1]) >= 0xE0)) {
      out += '\0';
    }
  }
  return out;
}

std::string Id3v2(int version, int flags, const std::string& body) {
  return "ID3" + Bytes({version, 0, flags}) + Syncsafe(std::uint32_t(body.size())) + body;
}
// A frame with its size written the way `version` writes it.
std::string Frame(int version, const std::string& id, const std::string& body, int formatFlags = 0) {
  const auto n = std::uint32_t(body.size());
  if (version == 2) return id + Be32(n).substr(1) + body;
  return id + (version == 4 ? Syncsafe(n) : Be32(n)) + Bytes({0, formatFlags}) + body;
}
std::string Txxx(int version, const std::string& key, const std::string& value) {
  return Frame(version, "TXXX", std::string(1, '\0') + key + '\0' + value);
}
std::string Utf16Le(std::u16string_view text) {
  std::string out = Bytes({0xFF, 0xFE});
  for (char16_t c : text) out += Bytes({c & 0xFF, c >> 8});
  return out;
}
std::string Utf16Be(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += Be16(c);
  return out;
}

std::string Id3v1(const std::string& title, const std::string& artist, const std::string& album) {
  const auto field = [](std::string s, char fill) { return s.append(30 - s.size(), fill); };
  std::string tag = "TAG" + field(title, '\0') + field(artist, ' ') + field(album, '\0');
  return tag.append(128 - tag.size(), '\0');
}
std::string Ape(const std::vector<std::pair<std::string, std::string>>& items, int binaryItems = 0) {
  std::string body;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const bool binary = int(i) < binaryItems;
    body += Le32(std::uint32_t(items[i].second.size())) + Le32(binary ? 2 : 0) + items[i].first + '\0' + items[i].second;
  }
  return body + "APETAGEX" + Le32(2000) + Le32(std::uint32_t(body.size() + 32)) + Le32(std::uint32_t(items.size())) +
         Le32(0) + std::string(8, '\0');
}

// An MPEG-1 layer III Info frame (128 kbit/s, 44.1 kHz, stereo) with a LAME extension.
std::string LameFrame(std::uint32_t peak, std::uint32_t radioGain) {
  std::string f = Bytes({0xFF, 0xFB, 0x90, 0x64}) + std::string(32, '\0') + "Info" + Be32(1) + Be32(100) +
                  "LAME3.100" + Bytes({0x01, 0xAA}) + Be32(peak) + Be16(radioGain);
  return f.append(417 - f.size(), '\0');
}

std::string Comments(const std::vector<std::string>& entries) {
  std::string out = Le32(6) + "vendor" + Le32(std::uint32_t(entries.size()));
  for (const auto& e : entries) out += Le32(std::uint32_t(e.size())) + e;
  return out;
}
std::string Flac(const std::vector<std::string>& entries) {
  const std::string comments = Comments(entries);
  return "fLaC" + Bytes({0, 0, 0, 34}) + std::string(34, '\0') + Bytes({0x84}) + Be32(std::uint32_t(comments.size())).substr(1) +
         comments;
}
// Packets laid into pages of at most `segmentsPerPage` segments each.
std::string Ogg(const std::vector<std::string>& packets, std::size_t segmentsPerPage = 255) {
  std::string lacing, data, out;
  for (const auto& p : packets) {
    lacing.append(p.size() / 255, char(255));
    lacing += char(p.size() % 255);
    data += p;
  }
  std::uint32_t sequence = 0;
  for (std::size_t first = 0, at = 0; first < lacing.size(); first += segmentsPerPage) {
    const std::string segments = lacing.substr(first, segmentsPerPage);
    std::size_t bytes = 0;
    for (char c : segments) bytes += static_cast<unsigned char>(c);
    out += "OggS" + std::string(10, '\0') + Le32(0x1234) + Le32(sequence++) + Le32(0) + char(segments.size()) +
           segments + data.substr(at, bytes);
    at += bytes;
  }
  return out;
}

TrackTags Tags(std::string title, std::string artist, std::string album, ReplayGainInfo gain = {}) {
  return {std::move(title), std::move(artist), std::move(album), gain};
}

struct Case {
  const char* name;
  std::string head, tail;
  TrackTags want;
};

std::vector<Case> Cases() {
  const std::string testKatakana = Bytes({0x83, 0x65, 0x83, 0x58, 0x83, 0x67});  // テスト in code page 932
  const std::string lame = LameFrame(0x003CDBBE, 0x2E53);  // what LAME 3.100 wrote for a 0.5 sine
  // Gains in order: track gain, track peak, album gain, album peak.
  const ReplayGainInfo lameGain{-8.3, 3988414 / 8388608.0, {}, {}};
  return {
      {"Id3v23Latin1AndCodePage932",
       Id3v2(3, 0, Frame(3, "TIT2", "\0Caf\xE9"s) + Frame(3, "TPE1", '\0' + testKatakana) +
                       Frame(3, "TALB", "\0Don\x92t"s)),
       "", Tags("Café", "テスト", "Don’t")},
      {"Id3v2Latin1HalfWidthKatakanaAndUtf8Bytes",
       Id3v2(3, 0, Frame(3, "TIT2", "\0\xC3\xBD\xC4"s) + Frame(3, "TPE1", "\0Beyonc\xC3\xA9"s) +
                       Frame(3, "TALB", "\0Pok\xE9mon"s)),
       "", Tags("ﾃｽﾄ", "Beyoncé", "Pokémon")},
      {"Id3v2Utf16AndUtf8",
       Id3v2(4, 0, Frame(4, "TIT2", Bytes({1}) + Utf16Le(u"Ünï ♪") + Bytes({0, 0})) +
                       Frame(4, "TPE1", Bytes({2}) + Utf16Be(u"\U0001D11E clef")) +
                       Frame(4, "TALB", "\x03日本語\0second value"s)),
       "", Tags("Ünï ♪", "\U0001D11E clef", "日本語")},
      {"TxxxGainsAndPeaksInAnyCaseAndEncoding",
       Id3v2(3, 0,
             Frame(3, "TXXX", Bytes({1}) + Utf16Le(u"REPLAYGAIN_TRACK_GAIN") + Bytes({0, 0}) + Utf16Le(u"-6.48 dB")) +
                 Txxx(3, "replaygain_track_peak", "0.988212") + Txxx(3, "Replaygain_Album_Gain", "+1.20 dB") +
                 Txxx(3, "REPLAYGAIN_ALBUM_PEAK", "1,000000") + Txxx(3, "REPLAYGAIN_REFERENCE_LOUDNESS", "89.0 dB")),
       "", Tags("", "", "", {-6.48, 0.988212, 1.2, 1.0})},
      {"Id3v24SyncsafeSizesUnsynchronisedFramesAndExtendedHeader",
       Id3v2(4, 0x40,
             Syncsafe(6) + Bytes({1, 0}) + Frame(4, "TIT2", "\0"s + std::string(199, 'a')) +
                 Frame(4, "TPE1", Unsynchronise("\0x\xFF\xF0y"s), 0x02) +
                 Frame(4, "TALB", Be32(5) + "\0Demo"s, 0x01)),
       "", Tags(std::string(199, 'a'), "x\xC3\xBF\xC3\xB0y", "Demo")},
      {"Id3v23TagUnsynchronisedWithExtendedHeader",
       Id3v2(3, 0xC0, Unsynchronise(Be32(6) + std::string(6, '\0') + Frame(3, "TIT2", "\0\xFF\xE9t\xE9"s))), "",
       Tags("ÿété", "", "")},
      {"Id3v22ThreeLetterFrames",
       Id3v2(2, 0, Frame(2, "TT2", "\0Old"s) + Frame(2, "TP1", "\0Band"s) + Frame(2, "TAL", "\0Record"s)), "",
       Tags("Old", "Band", "Record")},
      {"FrameRunningPastTheTagKeepsWhatWasRead",
       Id3v2(3, 0, Frame(3, "TIT2", "\0Kept"s) + "TPE1" + Be32(4000) + Bytes({0, 0}) + "\0Lost"s), "",
       Tags("Kept", "", "")},
      {"Id3v1CodePage932AndLatin1", "",
       "audio" + Id3v1(testKatakana, "Caf\xE9", "M\xDCNCHEN"), Tags("テスト", "Café", "MÜNCHEN")},
      {"Id3v1OnlyWhereId3v2IsSilent", Id3v2(3, 0, Frame(3, "TIT2", "\0New"s)), Id3v1("Old", "Artist", ""),
       Tags("New", "Artist", "")},
      {"ApeBeforeId3v1",
       "",
       Ape({{"Album", "binary"},
            {"Title", "Ape title\0second"s},
            {"ARTIST", "Ape artist"},
            {"replaygain_track_gain", "-3.00 dB"},
            {"REPLAYGAIN_TRACK_PEAK", "0.5"}},
           1) +
           Id3v1("V1 title", "", "V1 album"),
       Tags("Ape title", "Ape artist", "V1 album", {-3.0, 0.5, {}, {}})},
      {"LameRadioGainWhenUntagged", Id3v2(3, 0, Frame(3, "TIT2", "\0T"s)) + Bytes({0, 0}) + lame + lame, "",
       Tags("T", "", "", lameGain)},
      {"TagGainWinsOverLame", Id3v2(3, 0, Txxx(3, "REPLAYGAIN_TRACK_GAIN", "-1.5 dB")) + lame, "",
       Tags("", "", "", {-1.5, {}, {}, {}})},
      {"FlacComments",
       Flac({"TITLE=Flac title", "artist=Flac artist", "Album=Flac album", "REPLAYGAIN_TRACK_GAIN=-7.25 dB",
             "REPLAYGAIN_ALBUM_PEAK=0.75", "NOEQUALS"}),
       Id3v1("V1", "", ""), Tags("Flac title", "Flac artist", "Flac album", {-7.25, {}, {}, 0.75})},
      {"OggVorbisCommentAcrossPages",
       Ogg({"\x01vorbis" + std::string(23, '\0'),
            "\x03vorbis" + Comments({"DESCRIPTION=" + std::string(600, 'd'), "TITLE=Vorbis", "REPLAYGAIN_TRACK_PEAK=1.02"}) +
                "\x01",
            std::string(100, 'a')},
           2),
       "", Tags("Vorbis", "", "", {{}, 1.02, {}, {}})},
      {"OggOpusR128GainsOnly",
       Ogg({"OpusHead" + std::string(11, '\0'),
            "OpusTags" + Comments({"R128_TRACK_GAIN=-512", "R128_ALBUM_GAIN=+128", "REPLAYGAIN_TRACK_PEAK=0.9",
                                   "ARTIST=Opus"})}),
       "", Tags("", "Opus", "", {3.0, {}, 5.5, {}})},
  };
}

TEST(TrackTags, ReadsEachFormat) {
  for (const Case& c : Cases()) EXPECT_EQ(ReadTrackTags(c.head, c.tail), c.want) << c.name;
}

// Each field a cut read gives is missing or one a whole read gives: a tag
// or frame cut short is dropped, never read in part.
void ExpectNothingInvented(const std::vector<TrackTags>& whole, const TrackTags& cut, const std::string& where) {
  const auto check = [&](auto field) {
    bool known = cut.*field == decltype(TrackTags{}.*field){};
    for (const TrackTags& w : whole) known = known || cut.*field == w.*field;
    EXPECT_TRUE(known) << where;
  };
  check(&TrackTags::title);
  check(&TrackTags::artist);
  check(&TrackTags::album);
  const auto checkGain = [&](std::optional<double> ReplayGainInfo::*field) {
    bool known = !(cut.gain.*field);
    for (const TrackTags& w : whole) known = known || cut.gain.*field == w.gain.*field;
    EXPECT_TRUE(known) << where;
  };
  for (auto field : {&ReplayGainInfo::trackGainDb, &ReplayGainInfo::trackPeak, &ReplayGainInfo::albumGainDb,
                     &ReplayGainInfo::albumPeak}) {
    checkGain(field);
  }
}

TEST(TrackTags, CutTagsGiveOnlyWhatIsWhole) {
  for (const Case& c : Cases()) {
    const TrackTags head = ReadTrackTags(c.head, "");
    for (std::size_t n = 0; n < c.head.size(); ++n) {
      ExpectNothingInvented({head}, ReadTrackTags(c.head.substr(0, n), ""), c.name + (" head " + std::to_string(n)));
    }
    // Cutting the tail's front may drop an APE tag and uncover the ID3v1 tag behind it.
    const TrackTags tail = ReadTrackTags("", c.tail);
    const TrackTags id3v1 = ReadTrackTags("", c.tail.substr(c.tail.size() - std::min<std::size_t>(128, c.tail.size())));
    for (std::size_t n = 0; n < c.tail.size(); ++n) {
      ExpectNothingInvented({tail, id3v1}, ReadTrackTags("", c.tail.substr(n)), c.name + (" tail " + std::to_string(n)));
    }
  }
}

TEST(TrackTags, GarbageGivesNothing) {
  std::vector<std::string> inputs = {
      "ID3" + Bytes({4, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F}) + "TIT2" + Bytes({0x7F, 0x7F, 0x7F, 0x7F, 0, 0}),
      "fLaC" + Bytes({0x04, 0xFF, 0xFF, 0xFF}) + Le32(0xFFFFFFFF),
      "OggS" + std::string(22, '\0') + Bytes({255}) + std::string(255, char(255)),
      Ape({{"Title", "x"}}).substr(5),
      "TAG",
      LameFrame(0, 0),
      LameFrame(1, 0x2E53).substr(0, 60),
  };
  // Bytes from a fixed pseudo-random sequence, one input of each length.
  std::uint32_t state = 12345;
  for (std::size_t size : {1, 16, 200, 4096}) {
    std::string noise;
    for (std::size_t i = 0; i < size; ++i) noise += char((state = state * 1103515245 + 12345) >> 16);
    inputs.push_back(noise);
  }
  for (const auto& input : inputs) {
    EXPECT_EQ(ReadTrackTags(input, input), TrackTags{}) << input.substr(0, 8);
  }
}

TEST(TrackTags, ReadsOnlyTheStartAndEndOfAFile) {
  fixtures::TempDir dir;
  const std::string path = dir.File("テスト.mp3");
  // The artist frame lies past the bytes read at the start.
  const std::string tag = Id3v2(3, 0, Frame(3, "TIT2", "\0Start"s) + Frame(3, "PRIV", std::string(kTagHeadBytes, 'p')) +
                                          Frame(3, "TPE1", "\0Beyond"s));
  fixtures::WriteBytes(path, tag + std::string(kTagTailBytes, '\0') + Id3v1("", "", "End"));
  EXPECT_EQ(ReadTrackTagsOfFile(path), Tags("Start", "", "End"));
  EXPECT_EQ(ReadTrackTagsOfFile(dir.File("missing.mp3")), TrackTags{});
  EXPECT_EQ(ReadTrackTagsOfFile(dir.path()), TrackTags{});
}

}  // namespace
}  // namespace kestrafon
