#include "model/player_settings.h"

#include <charconv>
#include <cmath>

namespace kestrafon {
namespace {

constexpr double kMaxGainDb = 15;

// Without the blanks around it, and a Windows line's '\r'.
std::string_view TrimmedLine(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// A number of decibels, whatever the C locale's decimal point.
std::optional<double> Decibels(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || TrimmedLine(std::string_view(end, std::size_t(text.data() + text.size() - end))) != "" ||
      !std::isfinite(value) || std::fabs(value) > kMaxGainDb) {
    return std::nullopt;
  }
  return value;
}

// Applies one "key = value" line; false when it cannot be read.
bool Apply(std::string_view key, std::string_view value, PlayerSettings& settings) {
  if (key == "replaygain") {
    const std::optional<ReplayGainMode> mode = ReplayGainModeNamed(value);
    if (mode) settings.replayGain.mode = *mode;
    return mode.has_value();
  }
  double* decibels = key == "replaygain-preamp"     ? &settings.replayGain.preampDb
                     : key == "replaygain-untagged" ? &settings.replayGain.untaggedDb
                                                    : nullptr;
  const std::optional<double> decibelValue = decibels ? Decibels(value) : std::nullopt;
  if (decibelValue) *decibels = *decibelValue;
  return decibelValue.has_value();
}

}  // namespace

std::optional<ReplayGainMode> ReplayGainModeNamed(std::string_view name) {
  if (name == "off") return ReplayGainMode::Off;
  if (name == "track") return ReplayGainMode::Track;
  if (name == "album") return ReplayGainMode::Album;
  return std::nullopt;
}

ParsedSettings ParseSettings(std::string_view text) {
  ParsedSettings parsed;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a BOM from Notepad
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = TrimmedLine(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++number;
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    const std::size_t equals = line.find('=');
    const bool read = equals != std::string_view::npos &&
                      Apply(TrimmedLine(line.substr(0, equals)), TrimmedLine(line.substr(equals + 1)), parsed.settings);
    if (!read && parsed.badLine == 0) {
      parsed.badLine = number;
      parsed.badText = std::string(line.substr(0, 60));
    }
  }
  return parsed;
}

}  // namespace kestrafon
