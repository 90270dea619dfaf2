#include "audio/mp3_frame_scan.h"

#include <cstring>

namespace kestrafon::mp3 {
namespace {

// Bit rates in kbit/s by bit-rate index; index 0 (free format) and 15 are unusable.
constexpr int kBitrateMpeg1[3][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},     // layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},      // layer III
};
constexpr int kBitrateMpeg2[3][16] = {
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},  // layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},       // layer II
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},       // layer III
};
constexpr int kSampleRateMpeg1[3] = {44100, 48000, 32000};

std::uint32_t ReadBe32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

std::uint32_t ReadLe32(const std::uint8_t* p) {
  return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

constexpr std::size_t kId3v1Bytes = 128;
constexpr std::size_t kApeFooterBytes = 32;

bool Compatible(const MpegAudioHeader& a, const MpegAudioHeader& b) {
  return a.version == b.version && a.layer == b.layer && a.sampleRate == b.sampleRate;
}

// What an information frame (Xing/Info/VBRI) at the start of the stream says.
struct InfoFrame {
  std::int64_t declaredFrames = -1;
  bool gapless = false;
  int delay = 0;
  int padding = 0;
};

std::optional<InfoFrame> ReadInfoFrame(const std::uint8_t* frame, const MpegAudioHeader& h) {
  const std::size_t size = static_cast<std::size_t>(h.frameBytes);
  if (h.layer == 3) {
    const bool mono = h.channels == 1;
    const std::size_t sideInfo = h.version == 10 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    const std::size_t xing = 4 + sideInfo;
    if (xing + 8 <= size &&
        (std::memcmp(frame + xing, "Xing", 4) == 0 || std::memcmp(frame + xing, "Info", 4) == 0)) {
      InfoFrame info;
      const std::uint32_t flags = ReadBe32(frame + xing + 4);
      std::size_t p = xing + 8;
      if (flags & 1) {
        if (p + 4 > size) return info;
        info.declaredFrames = ReadBe32(frame + p);
        p += 4;
      }
      if (flags & 2) p += 4;    // byte count
      if (flags & 4) p += 100;  // seek table
      if (flags & 8) p += 4;    // quality
      // The LAME extension: encoder name (9), revision (1), low-pass (1),
      // replay gain (8), flags (1), bit rate (1), then delay and padding as
      // two 12-bit numbers.
      if (p + 24 <= size && (std::memcmp(frame + p, "LAME", 4) == 0 || std::memcmp(frame + p, "Lavf", 4) == 0 ||
                             std::memcmp(frame + p, "Lavc", 4) == 0)) {
        const std::uint8_t* dp = frame + p + 21;
        info.gapless = true;
        info.delay = (dp[0] << 4) | (dp[1] >> 4);
        info.padding = ((dp[1] & 0x0F) << 8) | dp[2];
      }
      return info;
    }
  }
  if (36 + 4 <= size && std::memcmp(frame + 36, "VBRI", 4) == 0) return InfoFrame{};
  return std::nullopt;
}

// Bytes at the end of `data` that are tags, not audio: an ID3v1 tag ("TAG",
// the last 128 bytes) and an APE tag ("APETAGEX" footer) before it.
std::size_t TrailingTagsSize(std::span<const std::uint8_t> data) {
  std::size_t end = data.size();
  if (end >= kId3v1Bytes && std::memcmp(data.data() + end - kId3v1Bytes, "TAG", 3) == 0) end -= kId3v1Bytes;
  if (end >= kApeFooterBytes) {
    const std::uint8_t* footer = data.data() + end - kApeFooterBytes;
    if (std::memcmp(footer, "APETAGEX", 8) == 0) {
      // The size counts the items and the footer; a flag tells whether a
      // header of the same size sits in front.
      const std::size_t size = ReadLe32(footer + 12);
      const bool header = (ReadLe32(footer + 20) & 0x80000000u) != 0;
      const std::size_t whole = size + (header ? kApeFooterBytes : 0);
      if (size >= kApeFooterBytes && whole <= end) end -= whole;
    }
  }
  return data.size() - end;
}

}  // namespace

std::optional<MpegAudioHeader> ParseMpegAudioHeader(const std::uint8_t* b) {
  if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return std::nullopt;
  const int versionBits = (b[1] >> 3) & 3;
  const int layerBits = (b[1] >> 1) & 3;
  const int bitrateIndex = b[2] >> 4;
  const int rateIndex = (b[2] >> 2) & 3;
  const int padding = (b[2] >> 1) & 1;
  const int mode = b[3] >> 6;
  const int emphasis = b[3] & 3;
  if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3 ||
      emphasis == 2) {
    return std::nullopt;
  }
  MpegAudioHeader h;
  h.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
  h.layer = 4 - layerBits;
  const bool mpeg1 = h.version == 10;
  h.bitrateKbps = (mpeg1 ? kBitrateMpeg1 : kBitrateMpeg2)[h.layer - 1][bitrateIndex];
  h.sampleRate = kSampleRateMpeg1[rateIndex] / (mpeg1 ? 1 : h.version == 20 ? 2 : 4);
  h.channels = mode == 3 ? 1 : 2;
  const int bitrate = h.bitrateKbps * 1000;
  if (h.layer == 1) {
    h.samplesPerFrame = 384;
    h.frameBytes = (12 * bitrate / h.sampleRate + padding) * 4;
  } else if (h.layer == 2 || mpeg1) {
    h.samplesPerFrame = 1152;
    h.frameBytes = 144 * bitrate / h.sampleRate + padding;
  } else {
    h.samplesPerFrame = 576;
    h.frameBytes = 72 * bitrate / h.sampleRate + padding;
  }
  return h;
}

std::size_t Id3v2TagSize(std::span<const std::uint8_t> data) {
  if (data.size() < 10 || std::memcmp(data.data(), "ID3", 3) != 0) return 0;
  const std::uint8_t* s = data.data() + 6;
  if ((s[0] | s[1] | s[2] | s[3]) & 0x80) return 0;  // not a sync-safe size: no tag
  const std::size_t body = (std::size_t{s[0]} << 21) | (std::size_t{s[1]} << 14) | (std::size_t{s[2]} << 7) | s[3];
  const bool footer = (data[5] & 0x10) != 0;
  return 10 + body + (footer ? 10 : 0);
}

bool StartsWithMp3Frames(std::span<const std::uint8_t> head) {
  if (head.size() < 4) return false;
  const auto first = ParseMpegAudioHeader(head.data());
  if (!first || first->layer != 3) return false;
  const std::size_t next = static_cast<std::size_t>(first->frameBytes);
  if (next + 4 > head.size()) return false;
  const auto second = ParseMpegAudioHeader(head.data() + next);
  return second && Compatible(*first, *second);
}

std::int64_t Mp3ScanResult::PlayedSamples() const {
  std::int64_t samples = frames * samplesPerFrame;
  if (hasGaplessInfo) {
    // The decoder's own delay is part of the padding the encoder counted, so
    // a complete stream loses exactly delay + padding; a cut one loses the
    // encoder and decoder delays at its start and nothing at its end.
    const bool complete = declaredFrames >= 0 && frames >= declaredFrames;
    samples -= complete ? encoderDelay + encoderPadding : encoderDelay + kMp3DecoderDelay;
  }
  return samples > 0 ? samples : 0;
}

double Mp3ScanResult::Seconds() const {
  if (sampleRate <= 0) return 0.0;
  return static_cast<double>(PlayedSamples()) / sampleRate;
}

namespace {

// The walk both ScanMp3Frames and IndexMp3Frames make; `spans`, when given,
// receives where each audio frame lies.
Mp3ScanResult Walk(std::span<const std::uint8_t> data, std::vector<Mp3FrameSpan>* spans) {
  Mp3ScanResult result;
  const std::size_t n = data.size() - TrailingTagsSize(data);
  std::size_t pos = 0;
  while (pos < n) {
    const std::size_t tag = Id3v2TagSize(data.subspan(pos, n - pos));
    if (tag == 0) break;
    pos += tag;
  }

  std::optional<MpegAudioHeader> locked;
  bool inSync = false;  // pos is where the previous frame ended
  while (pos + 4 <= n) {
    const auto h = ParseMpegAudioHeader(data.data() + pos);
    if (!h || (locked && !Compatible(*h, *locked))) {
      inSync = false;
      ++pos;
      continue;
    }
    const std::size_t end = pos + static_cast<std::size_t>(h->frameBytes);
    if (end > n) {
      if (inSync) break;  // the last frame is cut short
      ++pos;
      continue;
    }
    if (!inSync) {
      // A header found by searching must be followed by another compatible
      // one (or by the end of the data) before it is believed.
      if (end + 4 <= n) {
        const auto next = ParseMpegAudioHeader(data.data() + end);
        if (!next || !Compatible(*next, *h)) {
          ++pos;
          continue;
        }
      }
    }
    if (!locked) {
      locked = h;
      result.sampleRate = h->sampleRate;
      result.samplesPerFrame = h->samplesPerFrame;
      if (const auto info = ReadInfoFrame(data.data() + pos, *h)) {
        result.hasInfoFrame = true;
        result.declaredFrames = info->declaredFrames;
        result.hasGaplessInfo = info->gapless;
        result.encoderDelay = info->delay;
        result.encoderPadding = info->padding;
        pos = end;
        inSync = true;
        continue;
      }
    }
    if (result.frames == 0) result.firstHeader = *h;
    ++result.frames;
    if (spans) spans->push_back({pos, static_cast<std::uint32_t>(h->frameBytes)});
    pos = end;
    inSync = true;
  }
  return result;
}

}  // namespace

Mp3ScanResult ScanMp3Frames(std::span<const std::uint8_t> data) { return Walk(data, nullptr); }

Mp3FrameIndex IndexMp3Frames(std::span<const std::uint8_t> data) {
  Mp3FrameIndex index;
  index.scan = Walk(data, &index.frames);
  return index;
}

}  // namespace kestrafon::mp3
