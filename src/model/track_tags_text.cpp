// The text of tags in the encodings taggers wrote, to UTF-8.
#include <charconv>

#include "model/cp932_text.h"
#include "model/track_tags_parts.h"

namespace kestrafon::tags {
namespace {

// Taggers that said ISO-8859-1 mostly wrote Windows-1252, whose 0x80-0x9F
// are printable; the five bytes it leaves free stay C1 controls.
constexpr char16_t kWindows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string Latin1Text(std::string_view bytes) {
  std::string out;
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    cp932::AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kWindows1252[b - 0x80] : char32_t(b));
  }
  return out;
}

bool IsAsciiLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

// Whether bytes that are not ASCII read as Japanese in code page 932 rather
// than as Latin-1 words. Latin-1's capitals and signs (0xA1-0xDF) are
// half-width katakana there, and a small letter (0xE0-0xFC) with the ASCII
// letter after it is a kanji, so "MÜNCHEN" and "Pokémon" would both read;
// what tells them apart is that Japanese text does not put a lone katakana
// among ASCII, nor a kanji whose second byte is a letter between letters.
// 0x92 is also Windows-1252's apostrophe, as in "Don’t".
bool ReadsAsCp932(std::string_view b) {
  bool nonAscii = false;
  bool afterNonAscii = false;  // the character before is not ASCII
  for (std::size_t i = 0; i < b.size();) {
    const auto c = static_cast<unsigned char>(b[i]);
    if (c < 0x80) {
      afterNonAscii = false;
      ++i;
      continue;
    }
    nonAscii = true;
    const bool letterBefore = i > 0 && !afterNonAscii && IsAsciiLetter(static_cast<unsigned char>(b[i - 1]));
    if (c >= 0xA1 && c <= 0xDF) {
      const bool nonAsciiAfter = i + 1 < b.size() && static_cast<unsigned char>(b[i + 1]) >= 0x80;
      if (!afterNonAscii && !nonAsciiAfter) return false;  // a lone one
      ++i;
    } else if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
      if (i + 1 >= b.size()) return false;
      const auto trail = static_cast<unsigned char>(b[i + 1]);
      if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
      const bool letterAfter = i + 2 < b.size() && IsAsciiLetter(static_cast<unsigned char>(b[i + 2]));
      if (letterBefore && IsAsciiLetter(trail) && (letterAfter || c == 0x92)) return false;
      i += 2;
    } else {
      return false;
    }
    afterNonAscii = true;
  }
  return nonAscii;
}

// Whether UTF-8 holds a character of the private use area U+E000-U+F8FF,
// where code page 932's user-defined characters land: no tag means those.
bool HasPrivateUse(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c == 0xEE) return true;
    if (c == 0xEF && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0xA3) return true;
  }
  return false;
}

}  // namespace

std::string LegacyText(std::string_view bytes) {
  if (cp932::IsValidUtf8(bytes)) return std::string(bytes);
  if (ReadsAsCp932(bytes)) {
    if (auto text = cp932::Cp932ToUtf8(bytes); text && !HasPrivateUse(*text)) return std::move(*text);
  }
  return Latin1Text(bytes);
}

std::string Utf8Text(std::string_view bytes) {
  return cp932::IsValidUtf8(bytes) ? std::string(bytes) : LegacyText(bytes);
}

std::string Utf16Text(std::string_view bytes, bool bigEndian) {
  std::size_t i = 0;
  if (bytes.size() >= 2) {
    const std::uint32_t bom = Be16(bytes, 0);
    if (bom == 0xFEFF || bom == 0xFFFE) {
      bigEndian = bom == 0xFEFF;
      i = 2;
    }
  }
  const auto unit = [&](std::size_t at) {
    return bigEndian ? Be16(bytes, at) : Byte(bytes, at) | Byte(bytes, at + 1) << 8;
  };
  std::string out;
  for (; i + 2 <= bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 4 <= bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // half a pair
    }
    cp932::AppendUtf8(out, c);
  }
  return out;
}

std::optional<double> ParseDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  // from_chars takes neither a plus sign nor a decimal comma.
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') number += '-';
    ++i;
  }
  for (; i < text.size() && number.size() < 40; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') number += c;
    else if (c == '.' || c == ',') number += '.';
    else break;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                            std::chars_format::fixed);
  if (error != std::errc{} || end == number.data()) return std::nullopt;
  return value;
}

}  // namespace kestrafon::tags
