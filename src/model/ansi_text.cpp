#include "model/ansi_text.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace kestrafon::ansi {
namespace {

// Decodes one code point at `i`; returns its length in bytes, 0 when malformed.
int DecodeAt(std::string_view s, std::size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
  if (len == 0 || i + std::size_t(len) > s.size()) return 0;
  if (len == 1) { cp = b0; return 1; }
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

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() { if (ok()) iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<std::string> Convert(std::string_view in) {
    if (!ok()) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // start from the initial state
    std::string out(in.size() * 2 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::size_t done = 0;
    while (true) {
      char* dst = out.data() + done;
      std::size_t dstLeft = out.size() - done;
      const std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      done = out.size() - dstLeft;
      if (r != static_cast<std::size_t>(-1)) break;
      if (errno != E2BIG) return std::nullopt;
      out.resize(out.size() * 2);
    }
    out.resize(done);
    return out;
  }

 private:
  iconv_t cd_;
};

// Code page 932 byte length of every code point of the Basic Multilingual
// Plane (0 = not in the code page), built once on first use.
const std::vector<std::uint8_t>& Cp932Lengths() {
  static const std::vector<std::uint8_t> table = [] {
    std::vector<std::uint8_t> t(0x10000, 0);
    Iconv toCp932("CP932", "UTF-32LE");
    if (!toCp932.ok()) return t;
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
      if (cp >= 0xD800 && cp <= 0xDFFF) continue;
      const char raw[4] = {char(cp & 0xFF), char((cp >> 8) & 0xFF), 0, 0};
      if (auto bytes = toCp932.Convert(std::string_view(raw, 4))) t[cp] = std::uint8_t(bytes->size());
    }
    return t;
  }();
  return table;
}

int Cp932Length(char32_t cp) { return cp < 0x10000 ? Cp932Lengths()[cp] : 0; }

bool IsWide(char32_t cp) {
  return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0x303E) || (cp >= 0x3041 && cp <= 0xA4CF) ||
         (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F) ||
         (cp >= 0xFF00 && cp <= 0xFF60) || (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x1F300 && cp <= 0x1F64F) ||
         (cp >= 0x1F900 && cp <= 0x1F9FF) || (cp >= 0x20000 && cp <= 0x3FFFD);
}

// Walks the code points of `s`; malformed bytes count as one narrow character each.
template <typename F>
void ForEachCodePoint(std::string_view s, F&& f) {
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = 0;
    int len = DecodeAt(s, i, cp);
    if (len == 0) { cp = 0xFFFD; len = 1; }
    f(cp, i, std::size_t(len));
    i += std::size_t(len);
  }
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    const int len = DecodeAt(text, i, cp);
    if (len == 0) return false;
    i += std::size_t(len);
  }
  return true;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  Iconv conv("CP932", "UTF-8");
  return conv.Convert(utf8);
}

std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  Iconv conv("UTF-8", "CP932");
  return conv.Convert(cp932);
}

bool FitsCp932(std::string_view utf8) {
  if (!IsValidUtf8(utf8)) return false;
  bool fits = true;
  ForEachCodePoint(utf8, [&](char32_t cp, std::size_t, std::size_t) {
    if (cp != 0 && Cp932Length(cp) == 0) fits = false;
  });
  return fits;
}

int AnsiByteLength(std::string_view utf8) {
  int bytes = 0;
  ForEachCodePoint(utf8, [&](char32_t cp, std::size_t, std::size_t) {
    const int n = cp == 0 ? 1 : Cp932Length(cp);
    bytes += n != 0 ? n : (IsWide(cp) ? 2 : 1);
  });
  return bytes;
}

int CharCount(std::string_view utf8) {
  int n = 0;
  ForEachCodePoint(utf8, [&](char32_t, std::size_t, std::size_t) { ++n; });
  return n;
}

std::string_view LeftChars(std::string_view utf8, int count) {
  std::size_t end = 0;
  int n = 0;
  ForEachCodePoint(utf8, [&](char32_t, std::size_t at, std::size_t len) {
    if (n++ < count) end = at + len;
  });
  return utf8.substr(0, end);
}

std::string_view DropRightChars(std::string_view utf8, int count) {
  return LeftChars(utf8, CharCount(utf8) - count);
}

}  // namespace kestrafon::ansi
