#include "model/cp932_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrafon::cp932 {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += char(v);
  return s;
}

TEST(AnsiText, JapanesePathsConvertToCodePage932AndBack) {
  const std::string path = "C:\\音楽\\テスト.mp3";
  const auto cp932 = Utf8ToCp932(path);
  ASSERT_TRUE(cp932);
  EXPECT_EQ(*cp932, "C:\\" + Bytes({0x89, 0xB9, 0x8A, 0x79}) + "\\" + Bytes({0x83, 0x65, 0x83, 0x58, 0x83, 0x67}) + ".mp3");
  EXPECT_EQ(Cp932ToUtf8(*cp932), path);
  EXPECT_TRUE(FitsCp932(path));

  // ソ ends in the byte of '\': it must stay one character, not a separator.
  const auto so = Utf8ToCp932("ソ\\");
  ASSERT_TRUE(so);
  EXPECT_EQ(*so, Bytes({0x83, 0x5C, 0x5C}));
  EXPECT_EQ(Cp932ToUtf8(*so), "ソ\\");
}

TEST(AnsiText, AsciiIsItselfInCodePage932) {
  std::string ascii;
  for (int c = 0; c < 0x80; ++c) ascii += char(c);
  EXPECT_EQ(Utf8ToCp932(ascii), ascii);
  EXPECT_EQ(Utf8ToCp932Exact(ascii), ascii);
  EXPECT_EQ(Cp932ToUtf8(ascii), ascii);
  EXPECT_EQ(Cp932ByteLength(ascii), 0x80);
}

TEST(AnsiText, KeepsWhatShiftJisRejectsButCodePage932Has) {
  struct Case {
    const char* text;
    std::string bytes;
  };
  const Case cases[] = {
      {"～", Bytes({0x81, 0x60})},  // U+FF5E fullwidth tilde
      {"∥", Bytes({0x81, 0x61})},   // U+2225 parallel to
      {"①", Bytes({0x87, 0x40})},   // NEC special
      {"Ⅰ", Bytes({0x87, 0x54})},   // NEC special
      {"\uFFE2", Bytes({0x81, 0xCA})},  // fullwidth not sign
      {"纊", Bytes({0xFA, 0x5C})},  // IBM extension
      {"髙", Bytes({0xFB, 0xFC})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToCp932Exact(c.text), c.bytes) << c.text;
    EXPECT_EQ(Cp932ToUtf8(c.bytes), c.text) << c.text;
    EXPECT_TRUE(FitsCp932(c.text)) << c.text;
    EXPECT_EQ(Cp932ByteLength(c.text), 2) << c.text;
  }
  // The NEC-selected copy of an IBM extension reads as the same character.
  EXPECT_EQ(Cp932ToUtf8(Bytes({0xED, 0x40})), "纊");
}

TEST(AnsiText, CharactersMappedOneWayDoNotFit) {
  // Each has a code page 932 form that reads back as another character; a
  // path holding ¥ would come back with a backslash in its place.
  for (const char* text : {"¥", "〜", "‖", "−", "¢", "£", "—", "‾", "\u00AC"}) {
    EXPECT_TRUE(Utf8ToCp932(text)) << text;
    EXPECT_FALSE(Utf8ToCp932Exact(text)) << text;
    EXPECT_FALSE(FitsCp932(std::string("C:\\") + text + ".mp3")) << text;
  }
  EXPECT_EQ(Utf8ToCp932("¥"), "\\");
}

TEST(AnsiText, HalfWidthKatakanaIsOneByte) {
  EXPECT_EQ(Utf8ToCp932("ｱｲｳ"), Bytes({0xB1, 0xB2, 0xB3}));
  EXPECT_EQ(Cp932ToUtf8(Bytes({0xB1, 0xDF})), "ｱﾟ");
  EXPECT_EQ(Cp932ByteLength("ｱｲｳ"), 3);
  EXPECT_EQ(CharCount("ｱｲｳ"), 3);
}

TEST(AnsiText, CharactersOutsideTheCodePageCountByDisplayWidth) {
  EXPECT_FALSE(Utf8ToCp932("café"));
  EXPECT_FALSE(FitsCp932("café"));
  EXPECT_EQ(Cp932ByteLength("café"), 4);   // é narrow
  EXPECT_EQ(Cp932ByteLength("😀"), 2);     // emoji wide
  EXPECT_EQ(Cp932ByteLength("🚀"), 2);
  EXPECT_EQ(Cp932ByteLength("한국"), 4);   // Hangul wide
  EXPECT_EQ(Cp932ByteLength("a😀é音"), 1 + 2 + 1 + 2);
  EXPECT_EQ(CharCount("a😀é音"), 4);
  EXPECT_FALSE(FitsCp932("😀"));
}

TEST(AnsiText, MalformedUtf8NeverFailsToCount) {
  const std::string bad[] = {
      "\x80",              // lone continuation byte
      "\xC0\xAF",          // overlong '/'
      "\xE3\x81",          // cut short
      "\xED\xA0\x80",      // surrogate
      "\xF4\x90\x80\x80",  // beyond U+10FFFF
      "\xFF",
  };
  for (const auto& b : bad) {
    EXPECT_FALSE(IsValidUtf8(b)) << testing::PrintToString(b);
    EXPECT_FALSE(Utf8ToCp932(b));
    EXPECT_FALSE(FitsCp932(b));
    // Each malformed byte is one narrow character of its own.
    EXPECT_EQ(CharCount(b), int(b.size()));
    EXPECT_EQ(Cp932ByteLength(b), int(b.size()));
    EXPECT_EQ(LeftChars("x" + b + "y", 2), "x" + b.substr(0, 1));
  }
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("a音😀"));
  // A malformed byte before a good character does not swallow it.
  EXPECT_EQ(CharCount("\xE3音"), 2);
}

TEST(AnsiText, BytesThatAreNotCodePage932) {
  for (const std::string& b : {Bytes({0x81}), Bytes({0x80}), Bytes({0xA0}), Bytes({0xFD}), Bytes({0x81, 0x2C})}) {
    EXPECT_FALSE(Cp932ToUtf8(b)) << testing::PrintToString(b);
  }
  // A lead byte without its trail gives way to the comma that follows it.
  EXPECT_EQ(Cp932ToUtf8Replacing(Bytes({0x81, ','})), "\uFFFD,");
  EXPECT_EQ(Cp932ToUtf8Replacing(Bytes({'a', 0xFF, 0x83, 0x65, 0x83})), "a\uFFFDテ\uFFFD");
  EXPECT_EQ(Cp932ToUtf8Replacing(""), "");
}

TEST(AnsiText, EveryDoubleByteCodeReadsBackAfterWriting) {
  int codes = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const auto utf8 = Cp932ToUtf8(Bytes({lead, trail}));
      if (!utf8) continue;
      ++codes;
      const auto again = Utf8ToCp932Exact(*utf8);
      ASSERT_TRUE(again) << lead << " " << trail;
      EXPECT_EQ(Cp932ToUtf8(*again), utf8);
      EXPECT_EQ(Cp932ByteLength(*utf8), 2);
    }
  }
  EXPECT_GT(codes, 7000);  // JIS X 0208 alone has 6879
}

TEST(AnsiText, CutsByCharacters) {
  EXPECT_EQ(LeftChars("音楽abc", 3), "音楽a");
  EXPECT_EQ(LeftChars("ab", 5), "ab");
  EXPECT_EQ(LeftChars("ab", 0), "");
  EXPECT_EQ(LeftChars("ab", -1), "");
  EXPECT_EQ(DropRightChars("曲名.mp3", 4), "曲名");
  EXPECT_EQ(DropRightChars("abc", 4), "");
  EXPECT_EQ(DropRightChars("", 4), "");
}

}  // namespace
}  // namespace kestrafon::cp932
