#pragma once
// The system's MP3 decoder, reached through the Audio Compression Manager:
// whole layer III frames in, 16-bit PCM of the same rate and channels out.
// Used by one thread at a time.
#include <windows.h>
// After windows.h, which leaves them out (WIN32_LEAN_AND_MEAN).
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "audio/mp3_frame_scan.h"

namespace kestrafon::platform::winsound {

class Mp3AcmDecoder {
 public:
  // Frame bytes one Decode call takes at most: four of the largest frames.
  static constexpr std::size_t kFeedBytes = 4 * 1441;

  // Null when ACM has no decoder for streams like the one `first` heads.
  static std::unique_ptr<Mp3AcmDecoder> Open(const mp3::MpegAudioHeader& first);
  ~Mp3AcmDecoder();
  Mp3AcmDecoder(const Mp3AcmDecoder&) = delete;
  Mp3AcmDecoder& operator=(const Mp3AcmDecoder&) = delete;

  // Forgets all it was fed: the next frame decodes as a stream's first.
  bool Restart();
  // Decodes `frames` (whole frames, back to back, at most kFeedBytes) and
  // appends the samples that came out to `pcm`. False when ACM fails.
  bool Decode(std::span<const std::uint8_t> frames, std::vector<std::int16_t>& pcm);
  // Appends what the decoder still holds at the end of the stream.
  bool Finish(std::vector<std::int16_t>& pcm);

 private:
  explicit Mp3AcmDecoder(const mp3::MpegAudioHeader& first);
  bool OpenStream();
  void CloseStream();
  // Converts what the source buffer holds, until ACM gives no more.
  bool Convert(DWORD flags, std::vector<std::int16_t>& pcm);

  MPEGLAYER3WAVEFORMAT mp3Format_{};
  WAVEFORMATEX pcmFormat_{};
  HACMSTREAM stream_ = nullptr;
  ACMSTREAMHEADER header_{};
  std::vector<std::uint8_t> source_;  // frames fed, and what ACM left unread of them
  std::size_t sourceFill_ = 0;
  std::vector<std::uint8_t> output_;
};

}  // namespace kestrafon::platform::winsound
