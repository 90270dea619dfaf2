#pragma once
// Counts the frames of an MPEG audio (MP1/MP2/MP3) stream by walking its
// frame headers, so the exact length of a file is known without decoding
// it, also when the file carries no Xing/LAME header.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kestrafon::mp3 {

struct MpegAudioHeader {
  int version = 0;  // 10 for MPEG-1, 20 for MPEG-2, 25 for MPEG-2.5
  int layer = 0;    // 1, 2 or 3
  int bitrateKbps = 0;
  int sampleRate = 0;
  int channels = 0;
  int frameBytes = 0;  // the whole frame, header included
  int samplesPerFrame = 0;
};

// Decodes the four header bytes at `bytes`. Empty for anything that is not a
// usable frame header (bad sync, reserved fields, free-format bit rate).
std::optional<MpegAudioHeader> ParseMpegAudioHeader(const std::uint8_t* bytes);

// Size of the ID3v2 tag at the start of `data` (header and footer included),
// 0 when there is none.
std::size_t Id3v2TagSize(std::span<const std::uint8_t> data);

// Whether `head` (bytes from where the audio should begin, e.g. just after
// an ID3v2 tag) starts with two back-to-back compatible layer III frames:
// the sign of an MP3 stream, which a plain header-like pair of bytes is not.
bool StartsWithMp3Frames(std::span<const std::uint8_t> head);

// Bytes StartsWithMp3Frames needs at most: two of the largest frames.
inline constexpr std::size_t kMp3ProbeBytes = 2 * 1441 + 4;

// Samples a layer III decoder outputs before the first sample of the signal.
inline constexpr int kMp3DecoderDelay = 529;

struct Mp3ScanResult {
  std::int64_t frames = 0;  // audio frames; a Xing/Info/VBRI frame is not counted
  int sampleRate = 0;
  int samplesPerFrame = 0;
  MpegAudioHeader firstHeader;  // of the first audio frame; zeros when there is none
  bool hasInfoFrame = false;
  std::int64_t declaredFrames = -1;  // from the Info frame, -1 when absent
  bool hasGaplessInfo = false;       // a LAME tag gave delay and padding
  int encoderDelay = 0;
  int encoderPadding = 0;

  // Samples a gapless decoder plays: the frames held, less what the LAME
  // tag says was added at the start and, when the stream is complete, at
  // the end.
  std::int64_t PlayedSamples() const;
  // PlayedSamples() in seconds; 0 when no frame was found.
  double Seconds() const;
};

// Walks the frames of `data` (a whole file). Skips leading ID3v2 tags and
// the tags at the end (ID3v1, and an APE tag before it), whose bytes may
// look like frames, and resynchronises over garbage between frames; a
// truncated last frame is not counted.
Mp3ScanResult ScanMp3Frames(std::span<const std::uint8_t> data);

// Where an audio frame lies in the file, header included.
struct Mp3FrameSpan {
  std::size_t offset = 0;
  std::uint32_t bytes = 0;
  bool operator==(const Mp3FrameSpan&) const = default;
};

struct Mp3FrameIndex {
  Mp3ScanResult scan;
  std::vector<Mp3FrameSpan> frames;  // scan.frames of them, the Info frame not among them
};

// ScanMp3Frames, also noting where each audio frame is: what a decoder fed
// frame by frame needs.
Mp3FrameIndex IndexMp3Frames(std::span<const std::uint8_t> data);

}  // namespace kestrafon::mp3
