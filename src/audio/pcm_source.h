#pragma once
// A decoded file: 16-bit signed samples, interleaved, from its first to its
// last sample frame. Made off the window's thread (opening may read the whole
// file), then read by the stream's thread alone.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace kestrafon::audio {

struct PcmFormat {
  int sampleRate = 0;
  int channels = 0;
  bool operator==(const PcmFormat&) const = default;
};

class PcmSource {
 public:
  virtual ~PcmSource() = default;
  virtual PcmFormat Format() const = 0;
  // Sample frames from the start to the end, known when the source opens.
  // The stream plays exactly this many, whatever Read gives.
  virtual std::int64_t Frames() const = 0;
  // Decodes up to `frames` frames into `out` (room for frames * channels
  // samples) and returns how many it wrote: fewer only at the end, 0 there
  // or when the file can no longer be read.
  virtual std::size_t Read(std::int16_t* out, std::size_t frames) = 0;
  // The next Read starts at `frame` (0 … Frames()). False when it cannot.
  virtual bool Seek(std::int64_t frame) = 0;
};

}  // namespace kestrafon::audio
