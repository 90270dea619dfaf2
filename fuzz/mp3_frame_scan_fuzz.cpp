// Feeds arbitrary bytes to the MPEG audio frame scanner and index, the one
// parser of untrusted media bytes outside GStreamer and the system decoders, and checks that what it reports
// could be true of those bytes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "audio/mp3_frame_scan.h"

namespace {

// The smallest frame any header describes: MPEG-2 layer III at 8 kbit/s, 24 kHz.
constexpr std::int64_t kSmallestFrameBytes = 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrafon::mp3;
  const std::span<const std::uint8_t> bytes(data, size);

  const Mp3ScanResult scan = ScanMp3Frames(bytes);
  if (scan.frames < 0 || scan.frames * kSmallestFrameBytes > static_cast<std::int64_t>(size)) std::abort();
  const double seconds = scan.Seconds();
  if (!std::isfinite(seconds) || seconds < 0.0 || (scan.frames == 0 && seconds != 0.0)) std::abort();
  if (scan.PlayedSamples() > scan.frames * scan.samplesPerFrame) std::abort();

  // The index the Windows decoder is fed from: the same frames, each one
  // inside the data, in order, none overlapping the next.
  const Mp3FrameIndex index = IndexMp3Frames(bytes);
  if (static_cast<std::int64_t>(index.frames.size()) != scan.frames || index.scan.frames != scan.frames) std::abort();
  std::size_t end = 0;
  for (const Mp3FrameSpan& frame : index.frames) {
    if (frame.offset < end || frame.bytes < 4 || frame.offset + frame.bytes > size) std::abort();
    end = frame.offset + frame.bytes;
  }

  // Every header the scanner could meet, at every offset.
  for (std::size_t i = 0; i + 4 <= size; ++i) {
    if (const auto h = ParseMpegAudioHeader(data + i)) {
      if (h->frameBytes < kSmallestFrameBytes || h->sampleRate <= 0 || h->samplesPerFrame <= 0) std::abort();
    }
  }
  const std::size_t tag = Id3v2TagSize(bytes);
  if (tag != 0 && tag < 10) std::abort();
  return 0;
}
