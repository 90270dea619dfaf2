#pragma once
// Code page 932 as two lookup tables, read once from the system's iconv
// ("CP932"), so whole files convert without a conversion call per character.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kestrafon::cp932::detail {

class Cp932Codec {
 public:
  static constexpr std::uint16_t kNone = 0xFFFF;

  // The one table of the process; immutable once built.
  static const Cp932Codec& Get();

  // The code of a code point: a byte value below 0x100, a lead and trail
  // byte pair (lead << 8 | trail) above, kNone when the code page lacks it.
  std::uint16_t Encode(char32_t cp) const { return cp < 0x10000 ? encode_[cp] : kNone; }

  // Decodes the character starting at s[i]; returns its byte count (1 or 2),
  // 0 when the bytes there are not code page 932.
  int Decode(std::string_view s, std::size_t i, char32_t& cp) const {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (!lead_[b0]) {
      if (decode_[b0] == kNone) return 0;
      cp = decode_[b0];
      return 1;
    }
    if (i + 1 >= s.size()) return 0;
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    const char16_t c = decode_[std::size_t(b0) << 8 | b1];
    if (c == kNone) return 0;
    cp = c;
    return 2;
  }

 private:
  Cp932Codec();
  std::vector<char16_t> encode_;  // by code point of the Basic Multilingual Plane
  std::vector<char16_t> decode_;  // by byte, or by lead << 8 | trail
  std::array<bool, 256> lead_{};
};

}  // namespace kestrafon::cp932::detail
