#include "control/clock_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kestrafon {
namespace {

std::int64_t ParseWhole(const std::string& text) {
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The numeric format "##00": at least two digits, more when needed.
std::string TwoDigits(std::int64_t n) {
  std::string s = std::to_string(n);
  return n >= 0 && n < 10 ? "0" + s : s;
}

}  // namespace

std::int64_t WholeSeconds(double seconds) {
  if (!std::isfinite(seconds)) return 0;
  constexpr double kLimit = double(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int64_t>(std::trunc(std::fmax(-kLimit, std::fmin(seconds, kLimit))));
}

std::string WholeSecondsText(double seconds) { return std::to_string(WholeSeconds(seconds)); }

std::string MinuteText(const std::string& seconds) { return TwoDigits(ParseWhole(seconds) / 60); }

std::string SecondText(const std::string& seconds, const std::string& minutes) {
  const std::int64_t n = ParseWhole(seconds);
  const std::int64_t m = ParseWhole(minutes);
  return TwoDigits(m > 0 ? n - 60 * m : n);
}

}  // namespace kestrafon
