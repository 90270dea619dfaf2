#include "model/cp932_tables.h"

#include <iconv.h>

#include <cerrno>

namespace kestrafon::cp932::detail {
namespace {

// One conversion of a few bytes; false when iconv refuses them. `incomplete`
// tells a truncated multi-byte sequence from an invalid one.
bool ConvertOnce(iconv_t cd, const char* in, std::size_t inLen, char* out, std::size_t& outLen,
                 bool* incomplete = nullptr) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* src = const_cast<char*>(in);
  char* dst = out;
  std::size_t dstLeft = outLen;
  const std::size_t r = iconv(cd, &src, &inLen, &dst, &dstLeft);
  if (incomplete) *incomplete = r == static_cast<std::size_t>(-1) && errno == EINVAL;
  if (r == static_cast<std::size_t>(-1) || inLen != 0) return false;
  outLen -= dstLeft;
  return true;
}

char32_t ReadUtf32Le(const char* p) {
  return char32_t(static_cast<unsigned char>(p[0])) | char32_t(static_cast<unsigned char>(p[1])) << 8 |
         char32_t(static_cast<unsigned char>(p[2])) << 16 | char32_t(static_cast<unsigned char>(p[3])) << 24;
}

}  // namespace

const Cp932Codec& Cp932Codec::Get() {
  static const Cp932Codec codec;
  return codec;
}

Cp932Codec::Cp932Codec() : encode_(0x10000, kNone), decode_(0x10000, kNone) {
  iconv_t toCp932 = iconv_open("CP932", "UTF-32LE");
  iconv_t fromCp932 = iconv_open("UTF-32LE", "CP932");
  const auto bad = reinterpret_cast<iconv_t>(-1);
  if (toCp932 != bad) {
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
      if (cp >= 0xD800 && cp <= 0xDFFF) continue;
      const char in[4] = {char(cp & 0xFF), char(cp >> 8), 0, 0};
      char out[8];
      std::size_t n = sizeof out;
      if (!ConvertOnce(toCp932, in, 4, out, n)) continue;
      if (n == 1) encode_[cp] = static_cast<unsigned char>(out[0]);
      if (n == 2) encode_[cp] = char16_t(static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]));
    }
    iconv_close(toCp932);
  }
  if (fromCp932 != bad) {
    for (int b0 = 0; b0 < 0x100; ++b0) {
      const char one[1] = {char(b0)};
      char out[8];
      std::size_t n = sizeof out;
      bool incomplete = false;
      if (ConvertOnce(fromCp932, one, 1, out, n, &incomplete)) {
        if (n == 4 && ReadUtf32Le(out) < 0xFFFF) decode_[std::size_t(b0)] = char16_t(ReadUtf32Le(out));
        continue;
      }
      if (!incomplete) continue;
      lead_[std::size_t(b0)] = true;
      for (int b1 = 0; b1 < 0x100; ++b1) {
        const char two[2] = {char(b0), char(b1)};
        n = sizeof out;
        if (ConvertOnce(fromCp932, two, 2, out, n) && n == 4 && ReadUtf32Le(out) < 0xFFFF)
          decode_[std::size_t(b0) << 8 | std::size_t(b1)] = char16_t(ReadUtf32Le(out));
      }
    }
    iconv_close(fromCp932);
  }
}

}  // namespace kestrafon::cp932::detail
