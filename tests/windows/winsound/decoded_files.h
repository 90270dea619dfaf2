#pragma once
// What the Windows decoder tests share: the files make_fixtures.sh made, a
// WAV's samples to compare with, and a source read the way the stream reads.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/pcm_source.h"
#include "fixtures/scratch_files.h"

namespace kestrafon::winsound_tests {

// A file made at build time by make_fixtures.sh.
inline std::string Fixture(const std::string& name) {
  const char* dir = std::getenv("KESTRAFON_WIN_FIXTURES");
  return dir ? std::string(dir) + "\\" + name : name;
}

// A 16- or 24-bit WAV's samples on the 16-bit scale (24-bit ones keep their fraction).
struct Wav {
  audio::PcmFormat format;
  std::vector<double> samples;
};

inline Wav ReadWav(const std::string& path) {
  const std::string b = fixtures::ReadBytes(path);
  const auto byte = [&](std::size_t at) { return std::uint32_t(std::uint8_t(b[at])); };
  const auto u16 = [&](std::size_t at) { return byte(at) | byte(at + 1) << 8; };
  const auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  Wav wav;
  std::size_t width = 2;
  for (std::size_t at = 12; at + 8 <= b.size(); at += 8 + u32(at + 4) + (u32(at + 4) & 1)) {
    const std::size_t body = at + 8, end = std::min(b.size(), body + u32(at + 4));
    if (b.compare(at, 4, "fmt ") == 0) {
      wav.format = {int(u32(body + 4)), int(u16(body + 2))};
      width = u16(body + 14) / 8;
    } else if (b.compare(at, 4, "data") == 0) {
      for (std::size_t s = body; s + width <= end; s += width) {
        const std::uint32_t raw = width == 2 ? u16(s) << 16 : (u16(s) | byte(s + 2) << 16) << 8;
        wav.samples.push_back(std::int32_t(raw) / 65536.0);
      }
    }
  }
  return wav;
}

// Up to `frames` frames, in pieces of an odd size, so that reads end inside
// the decoder's buffers.
inline std::vector<std::int16_t> ReadFrames(audio::PcmSource& source, std::int64_t frames) {
  const auto channels = std::size_t(source.Format().channels), wanted = std::size_t(frames);
  std::vector<std::int16_t> out(wanted * channels);
  std::size_t done = 0, got = 0;
  do {
    got = source.Read(out.data() + done * channels, std::min<std::size_t>(997, wanted - done));
    done += got;
  } while (got > 0 && done < wanted);
  out.resize(done * channels);
  return out;
}

}  // namespace kestrafon::winsound_tests
