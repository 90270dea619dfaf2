// Code page 932 tables from Windows' own conversion functions; the Linux
// build reads the same tables from iconv (os/posix/cp932_tables.cpp).
#include <windows.h>

#include <cstdint>

#include "model/cp932_tables.h"

namespace kestrafon::cp932::detail {
namespace {

constexpr UINT kCodePage = 932;

// Where Windows' table and the iconv table of the Linux build differ, the
// Linux one wins, so both builds write the same bytes for the same text.
// Characters iconv writes one way only (they read back as another one):
struct OneWay {
  char16_t codePoint;
  std::uint16_t code;
};
constexpr OneWay kOneWayCodes[] = {
    {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00A5, 0x005C}, {0x00AC, 0x81CA}, {0x2014, 0x815C},
    {0x2016, 0x8161}, {0x203E, 0x007E}, {0x2212, 0x817C}, {0x301C, 0x8160},
};
// Code points Windows maps to single bytes that iconv does not take
// (0x80, 0xA0, 0xFD to 0xFF).
constexpr char16_t kWindowsOnlyCodePoints[] = {0x0080, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3};

// The one UTF-16 unit the bytes decode to, or kNone.
char16_t DecodeBytes(const char* bytes, int count) {
  wchar_t out[4];
  const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, count, out, 4);
  return n == 1 ? char16_t(out[0]) : Cp932Codec::kNone;
}

}  // namespace

const Cp932Codec& Cp932Codec::Get() {
  static const Cp932Codec codec;
  return codec;
}

Cp932Codec::Cp932Codec() : encode_(0x10000, kNone), decode_(0x10000, kNone) {
  for (char32_t cp = 0; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    const wchar_t in = wchar_t(cp);
    char out[4];
    BOOL usedDefault = FALSE;
    // No best-fit guesses: a character the code page lacks stays unmapped.
    const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &in, 1, out, sizeof out, nullptr, &usedDefault);
    if (usedDefault) continue;
    if (n == 1) encode_[cp] = static_cast<unsigned char>(out[0]);
    if (n == 2) encode_[cp] = char16_t(static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]));
  }
  for (const OneWay& oneWay : kOneWayCodes) encode_[oneWay.codePoint] = oneWay.code;
  for (const char16_t cp : kWindowsOnlyCodePoints) encode_[cp] = kNone;
  for (int b0 = 0; b0 < 0x100; ++b0) {
    if (IsDBCSLeadByteEx(kCodePage, BYTE(b0))) {
      lead_[std::size_t(b0)] = true;
      for (int b1 = 0; b1 < 0x100; ++b1) {
        const char two[2] = {char(b0), char(b1)};
        decode_[std::size_t(b0) << 8 | std::size_t(b1)] = DecodeBytes(two, 2);
      }
      continue;
    }
    const char one[1] = {char(b0)};
    decode_[std::size_t(b0)] = DecodeBytes(one, 1);
  }
  decode_[0x80] = kNone;
}

}  // namespace kestrafon::cp932::detail
