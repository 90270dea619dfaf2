// Feeds arbitrary bytes to the tag reader, as a small file (the same bytes
// for the start and the end) and split in two at a point the first two
// bytes choose, and checks that every text it gives is valid UTF-8 and
// every number finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/cp932_text.h"
#include "model/track_tags.h"

namespace {

void Check(const kestrafon::TrackTags& tags) {
  for (const auto* text : {&tags.title, &tags.artist, &tags.album}) {
    if (!kestrafon::cp932::IsValidUtf8(*text)) std::abort();
  }
  const auto& g = tags.gain;
  for (const auto* number : {&g.trackGainDb, &g.trackPeak, &g.albumGainDb, &g.albumPeak}) {
    if (*number && !std::isfinite(**number)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  Check(kestrafon::ReadTrackTags(input, input));
  if (size < 2) return 0;
  const std::string_view rest = input.substr(2);
  const std::size_t split = (std::size_t{data[0]} << 8 | data[1]) % (rest.size() + 1);
  Check(kestrafon::ReadTrackTags(rest.substr(0, split), rest.substr(split)));
  return 0;
}
