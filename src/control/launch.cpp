#include "control/launch.h"

#include <algorithm>

#include "model/cp932_text.h"

namespace kestrafon {
namespace {

// "KL2", then the start time (8 bytes, least significant first) and the
// flags (1 byte); then records of a kind byte and a UTF-8 name ended by NUL.
constexpr std::string_view kMagic = "KL2";
constexpr std::size_t kHeaderBytes = 3 + 8 + 1;
constexpr std::size_t kMaxLaunchBytes = std::size_t(16) << 20;
constexpr char kFile = 'F';
constexpr std::pair<char, SkippedFile::Why> kSkipKinds[] = {
    {'M', SkippedFile::Why::Missing}, {'N', SkippedFile::Why::NotAFile}, {'U', SkippedFile::Why::Unreadable}};

void AppendRecord(std::string& bytes, char kind, const std::string& name) {
  bytes.push_back(kind);
  bytes += name;
  bytes.push_back('\0');
}

}  // namespace

std::string EncodeLaunch(const Launch& launch) {
  std::string bytes(kMagic);
  for (int i = 0; i < 8; ++i) bytes.push_back(char((launch.startedAt >> (8 * i)) & 0xFF));
  bytes.push_back(launch.enqueue ? 1 : 0);
  for (const std::string& file : launch.files) AppendRecord(bytes, kFile, file);
  for (const SkippedFile& skipped : launch.skipped) {
    for (const auto& [kind, why] : kSkipKinds)
      if (why == skipped.why) AppendRecord(bytes, kind, skipped.file);
  }
  return bytes;
}

std::optional<Launch> DecodeLaunch(std::string_view bytes) {
  if (bytes.size() < kHeaderBytes || bytes.size() > kMaxLaunchBytes || bytes.substr(0, 3) != kMagic) {
    return std::nullopt;
  }
  Launch launch;
  for (int i = 0; i < 8; ++i) launch.startedAt |= std::uint64_t(std::uint8_t(bytes[3 + i])) << (8 * i);
  if (bytes[11] != 0 && bytes[11] != 1) return std::nullopt;
  launch.enqueue = bytes[11] == 1;
  std::size_t at = kHeaderBytes;
  while (at < bytes.size()) {
    const std::size_t end = bytes.find('\0', at);
    if (end == std::string_view::npos || end <= at + 1) return std::nullopt;
    const char kind = bytes[at];
    const std::string_view name = bytes.substr(at + 1, end - at - 1);
    if (!cp932::IsValidUtf8(name)) return std::nullopt;
    if (kind == kFile) {
      launch.files.emplace_back(name);
    } else {
      const auto* skip = std::find_if(std::begin(kSkipKinds), std::end(kSkipKinds),
                                      [kind](const auto& known) { return known.first == kind; });
      if (skip == std::end(kSkipKinds)) return std::nullopt;
      launch.skipped.push_back({std::string(name), skip->second});
    }
    at = end + 1;
  }
  return launch;
}

std::vector<Launch> OrderLaunches(std::vector<Launch> launches) {
  const auto firstName = [](const Launch& launch) -> std::string_view {
    if (!launch.files.empty()) return launch.files.front();
    return launch.skipped.empty() ? std::string_view() : std::string_view(launch.skipped.front().file);
  };
  std::stable_sort(launches.begin(), launches.end(), [&](const Launch& a, const Launch& b) {
    if (a.startedAt != b.startedAt) return a.startedAt < b.startedAt;
    return firstName(a) < firstName(b);
  });
  std::vector<Launch> merged;
  for (Launch& launch : launches) {
    if (merged.empty() || merged.back().enqueue != launch.enqueue) {
      merged.push_back(std::move(launch));
      continue;
    }
    Launch& into = merged.back();
    into.files.insert(into.files.end(), launch.files.begin(), launch.files.end());
    into.skipped.insert(into.skipped.end(), launch.skipped.begin(), launch.skipped.end());
  }
  return merged;
}

}  // namespace kestrafon
