#include "model/cp932_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "model/cp932_tables.h"

namespace kestrafon::cp932 {
namespace {

using detail::Cp932Codec;

// Decodes one code point at `i`; returns its length in bytes, 0 when malformed.
int DecodeAt(std::string_view s, std::size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  const int len = (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
  if (len == 0 || i + std::size_t(len) > s.size()) return 0;
  cp = b0 & (0x7F >> len);
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + std::size_t(k)]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr std::array<char32_t, 5> kMin{0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[std::size_t(len)] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

// Writes the UTF-8 form of `cp` at `out`; returns the position after it.
char* PutUtf8(char* out, char32_t cp) {
  if (cp < 0x80) {
    *out++ = char(cp);
  } else if (cp < 0x800) {
    *out++ = char(0xC0 | (cp >> 6));
    *out++ = char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = char(0xE0 | (cp >> 12));
    *out++ = char(0x80 | ((cp >> 6) & 0x3F));
    *out++ = char(0x80 | (cp & 0x3F));
  } else {
    *out++ = char(0xF0 | (cp >> 18));
    *out++ = char(0x80 | ((cp >> 12) & 0x3F));
    *out++ = char(0x80 | ((cp >> 6) & 0x3F));
    *out++ = char(0x80 | (cp & 0x3F));
  }
  return out;
}

// Code page 932 to UTF-8. A code page character takes at most three UTF-8
// bytes, so the output is sized once. Without `replace`, nullopt at the
// first byte that starts no character; with it, such a byte becomes U+FFFD.
std::optional<std::string> DecodeCp932(std::string_view cp932, bool replace) {
  const Cp932Codec& codec = Cp932Codec::Get();
  std::string out(cp932.size() * 3, '\0');
  char* o = out.data();
  for (std::size_t i = 0; i < cp932.size();) {
    if (static_cast<unsigned char>(cp932[i]) < 0x80) {  // ASCII is itself
      *o++ = cp932[i++];
      continue;
    }
    char32_t cp = 0;
    int len = codec.Decode(cp932, i, cp);
    if (len == 0) {
      if (!replace) return std::nullopt;
      cp = 0xFFFD;
      len = 1;  // the next byte may start a character of its own
    }
    o = PutUtf8(o, cp);
    i += std::size_t(len);
  }
  out.resize(std::size_t(o - out.data()));
  return out;
}

// East Asian wide and full-width ranges outside code page 932 that matter
// for names: Hangul, CJK extensions, emoji.
struct Range {
  char32_t first, last;
};
constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},
    {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},
    {0x2693, 0x2693},   {0x26A1, 0x26A1},   {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},
    {0x26CE, 0x26CE},   {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},
    {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},
    {0x27B0, 0x27B0},   {0x27BF, 0x27BF},   {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},
    {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4}, {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF},
    {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251},
    {0x1F260, 0x1F265}, {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF},
    {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

bool IsWide(char32_t cp) {
  const auto* it = std::upper_bound(std::begin(kWide), std::end(kWide), cp,
                                    [](char32_t c, const Range& r) { return c < r.first; });
  return it != std::begin(kWide) && cp <= (it - 1)->last;
}

// Walks the code points of `s`; a malformed byte is one character of its own.
template <typename F>
void ForEachCodePoint(std::string_view s, F&& f) {
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = 0;
    int len = DecodeAt(s, i, cp);
    if (len == 0) {
      cp = 0xFFFD;
      len = 1;
    }
    f(cp, i, std::size_t(len));
    i += std::size_t(len);
  }
}

// Encodes the text, writing at `out` unless it is null (the encoded text is
// never longer than the UTF-8). Returns the encoded length, or nothing at
// the first malformed byte or character without a code page 932 form. With
// `exact`, also nothing for a character that decodes back as another one.
std::optional<std::size_t> EncodeCp932(std::string_view utf8, bool exact, char* out) {
  const Cp932Codec& codec = Cp932Codec::Get();
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    if (b0 < 0x80) {  // ASCII is itself in code page 932
      if (out) out[n] = char(b0);
      ++n;
      ++i;
      continue;
    }
    char32_t cp = 0;
    const int len = DecodeAt(utf8, i, cp);
    if (len == 0) return std::nullopt;
    const std::uint16_t code = codec.Encode(cp);
    if (code == Cp932Codec::kNone) return std::nullopt;
    const char bytes[2] = {char(code >> 8), char(code & 0xFF)};
    const std::string_view encoded = code >= 0x100 ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1);
    if (exact) {
      char32_t back = 0;
      if (codec.Decode(encoded, 0, back) == 0 || back != cp) return std::nullopt;
    }
    for (const char c : encoded) {
      if (out) out[n] = c;
      ++n;
    }
    i += std::size_t(len);
  }
  return n;
}

std::optional<std::string> EncodeToString(std::string_view utf8, bool exact) {
  std::string out(utf8.size(), '\0');
  const auto n = EncodeCp932(utf8, exact, out.data());
  if (!n) return std::nullopt;
  out.resize(*n);
  return out;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t cp = 0;
    const int len = DecodeAt(text, i, cp);
    if (len == 0) return false;
    i += std::size_t(len);
  }
  return true;
}

std::string Utf8Replacing(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const auto len = std::size_t(DecodeAt(bytes, i, cp));
    if (len == 0) {
      text += "\xEF\xBF\xBD";  // U+FFFD
      ++i;
    } else {
      text.append(bytes.substr(i, len));
      i += len;
    }
  }
  return text;
}

void AppendUtf8(std::string& out, char32_t cp) {
  char bytes[4];
  out.append(bytes, std::size_t(PutUtf8(bytes, cp) - bytes));
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) { return EncodeToString(utf8, false); }

std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8) { return EncodeToString(utf8, true); }

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) { return DecodeCp932(cp932, false); }

std::string Cp932ToUtf8Replacing(std::string_view cp932) { return *DecodeCp932(cp932, true); }

bool FitsCp932(std::string_view utf8) { return EncodeCp932(utf8, true, nullptr).has_value(); }

int Cp932ByteLength(std::string_view utf8) {
  const Cp932Codec& codec = Cp932Codec::Get();
  int bytes = 0;
  // A malformed byte arrives as U+FFFD, which is narrow and not in the code page.
  ForEachCodePoint(utf8, [&](char32_t cp, std::size_t, std::size_t) {
    const std::uint16_t code = codec.Encode(cp);
    bytes += code != Cp932Codec::kNone ? (code >= 0x100 ? 2 : 1) : (IsWide(cp) ? 2 : 1);
  });
  return bytes;
}

int CharCount(std::string_view utf8) {
  int n = 0;
  ForEachCodePoint(utf8, [&](char32_t, std::size_t, std::size_t) { ++n; });
  return n;
}

std::string_view LeftChars(std::string_view utf8, int count) {
  if (count <= 0) return utf8.substr(0, 0);
  std::size_t end = 0;
  int n = 0;
  for (std::size_t i = 0; i < utf8.size() && n < count; ++n) {
    char32_t cp = 0;
    const int len = DecodeAt(utf8, i, cp);
    i += len == 0 ? 1 : std::size_t(len);
    end = i;
  }
  return utf8.substr(0, end);
}

std::string_view DropRightChars(std::string_view utf8, int count) {
  return LeftChars(utf8, CharCount(utf8) - count);
}

}  // namespace kestrafon::cp932
