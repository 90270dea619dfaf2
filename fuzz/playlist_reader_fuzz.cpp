// Feeds arbitrary bytes to the playlist reader, and checks that whatever
// list it gives back, and any list cut from the input, survives a write and
// a read unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "model/playlist_file.h"

namespace {

void ExpectRoundTrip(const std::vector<std::string>& entries) {
  const std::string bytes = kestrafon::EncodePlaylistText(entries);
  if (kestrafon::ParsePlaylistText(bytes) != entries) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // Whatever the reader makes of the bytes is a list the writer must keep.
  ExpectRoundTrip(kestrafon::ParsePlaylistText(input));

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
  return 0;
}
