#pragma once
// What one start of the program asks of the session's player: files to play
// or only to add, the files of its command line that were left out, and
// when it started. Explorer opens a selection as one process per file, so
// launches that come together are put back in the order they were made.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "control/command_line.h"

namespace kestrafon {

struct Launch {
  // When the launching process was started, in a clock all launches of the
  // session share (Windows: the process's creation time).
  std::uint64_t startedAt = 0;
  bool enqueue = false;              // --enqueue: add the files, play nothing
  std::vector<std::string> files;    // absolute, checked, in order
  std::vector<SkippedFile> skipped;  // left out, in order
  bool operator==(const Launch&) const = default;
};

// The bytes a later launch sends to the running player.
std::string EncodeLaunch(const Launch& launch);
// The launch those bytes carry; nothing when they are not one (cut short,
// an unknown kind, an empty name, text that is not UTF-8, more than 16 MiB).
std::optional<Launch> DecodeLaunch(std::string_view bytes);

// Launches gathered within a moment, as one command line would give them:
// in the order they were started (launches started in the same instant by
// their first file's name, as Explorer lists a selection), and neighbours
// that both play or both only add merged into one.
std::vector<Launch> OrderLaunches(std::vector<Launch> launches);

}  // namespace kestrafon
