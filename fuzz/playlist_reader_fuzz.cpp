// Feeds arbitrary bytes to the playlist readers (the player's own, M3U, M3U8
// and PLS), and checks that whatever list they give back, and any list cut
// from the input, survives a write and a read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "model/cp932_text.h"
#include "model/playlist_file.h"
#include "model/playlist_formats.h"

namespace {

using kestrafon::ListEncoding;
using kestrafon::ListEntries;

void ExpectRoundTrip(const std::vector<std::string>& entries) {
  const std::string bytes = kestrafon::EncodePlaylistText(entries);
  if (kestrafon::ParsePlaylistText(bytes) != entries) std::abort();
}

// M3U8 written with no folder keeps every entry as it is (or as a URI), so
// the same absolute entries come back.
void ExpectM3u8RoundTrip(const std::vector<std::string>& entries) {
  const ListEntries back = kestrafon::ParseM3uText(kestrafon::EncodeM3u8Text(entries, ""), ListEncoding::Utf8);
  if (back.paths != entries || back.urls != 0) std::abort();
}

// What the writer can say: an entry that names a file, made absolute the
// way a list's folder would (its own rules are the unit tests').
std::vector<std::string> Writable(const std::vector<std::string>& entries) {
  std::vector<std::string> writable;
  for (const std::string& entry : entries) {
    if (entry.empty() || entry.find('\0') != std::string::npos || !kestrafon::cp932::IsValidUtf8(entry)) continue;
    std::string absolute = kestrafon::IsAbsoluteEntry(entry) ? entry : "/" + entry;
    // A line break fits only a file:// URI, which only a POSIX path makes.
    if (absolute.find_first_of("\r\n") != std::string::npos && absolute.front() != '/') continue;
    writable.push_back(std::move(absolute));
  }
  return writable;
}

// Entries read from any list are UTF-8 text that can name a file.
void ExpectSoundEntries(const ListEntries& list) {
  for (const std::string& entry : list.paths) {
    if (entry.empty() || entry.find('\0') != std::string::npos || !kestrafon::cp932::IsValidUtf8(entry)) std::abort();
  }
  ExpectM3u8RoundTrip(Writable(list.paths));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // Whatever the reader makes of the bytes is a list the writer must keep.
  ExpectRoundTrip(kestrafon::ParsePlaylistText(input));
  ExpectSoundEntries(kestrafon::ParseM3uText(input, ListEncoding::Utf8OrCp932));
  ExpectSoundEntries(kestrafon::ParseM3uText(input, ListEncoding::Utf8));
  ExpectSoundEntries(kestrafon::ParsePlsText(input));

  // Entries taken straight from the input, cut at 0x01 bytes: any bytes at
  // all, including separators, quotes, spaces and malformed text.
  std::vector<std::string> entries;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i == size || input[i] == '\x01') {
      entries.emplace_back(input.substr(start, i - start));
      start = i + 1;
    }
  }
  ExpectRoundTrip(entries);
  ExpectM3u8RoundTrip(Writable(entries));
  return 0;
}
