#pragma once
// Whole seconds and the two halves of the clock text ("12:34").
#include <cstdint>
#include <string>

namespace kestrafon {

// The integer part of a time in seconds, truncated toward zero.
std::int64_t WholeSeconds(double seconds);
// Its decimal text: 12.93 gives "12".
std::string WholeSecondsText(double seconds);

// Minutes of a whole-seconds text, at least two digits: "420" gives "07".
std::string MinuteText(const std::string& seconds);
// Seconds within the minute, two digits: ("754", "12") gives "34".
std::string SecondText(const std::string& seconds, const std::string& minutes);

}  // namespace kestrafon
