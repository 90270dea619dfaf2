// The MPEG audio frame scanner on hand-made byte streams.
#include "audio/mp3_frame_scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using kestrafon::mp3::Id3v2TagSize;
using kestrafon::mp3::IndexMp3Frames;
using kestrafon::mp3::Mp3FrameSpan;
using kestrafon::mp3::kMp3DecoderDelay;
using kestrafon::mp3::ParseMpegAudioHeader;
using kestrafon::mp3::ScanMp3Frames;
using kestrafon::mp3::StartsWithMp3Frames;
using Bytes = std::vector<std::uint8_t>;

// Header bytes of a few stream kinds, and the frame sizes they give.
struct Kind {
  std::uint8_t b1, b2, b3;
  int frameBytes;  // without the padding slot
};
constexpr Kind kMpeg1L3 = {0xFB, 0x90, 0x64, 417};  // 128 kbit/s, 44.1 kHz, joint stereo
constexpr Kind kMpeg1L3Mono = {0xFB, 0x90, 0xC4, 417};
constexpr Kind kMpeg2L3 = {0xF3, 0x80, 0x44, 208};   // 64 kbit/s, 22.05 kHz
constexpr Kind kMpeg25L3 = {0xE3, 0x18, 0xC4, 72};   // 8 kbit/s, 8 kHz, mono
constexpr Kind kMpeg1L2 = {0xFD, 0xA4, 0x04, 576};   // 192 kbit/s, 48 kHz
constexpr Kind kMpeg1L1 = {0xFF, 0xC0, 0x04, 416};   // 384 kbit/s, 44.1 kHz

void AppendFrame(Bytes& out, const Kind& kind, bool padded = false, std::uint8_t fill = 0x55) {
  const std::size_t start = out.size();
  const int slot = kind.b1 == 0xFF ? 4 : 1;  // layer I pads by a 4-byte slot
  out.resize(start + kind.frameBytes + (padded ? slot : 0), fill);
  out[start] = 0xFF;
  out[start + 1] = kind.b1;
  out[start + 2] = static_cast<std::uint8_t>(kind.b2 | (padded ? 0x02 : 0));
  out[start + 3] = kind.b3;
}

Bytes Frames(const Kind& kind, int count) {
  Bytes out;
  for (int i = 0; i < count; ++i) AppendFrame(out, kind, i % 3 == 2);
  return out;
}

void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

Bytes Id3v2Tag(std::size_t body, std::uint8_t fill, bool footer = false) {
  Bytes tag = {'I', 'D', '3', 4, 0, static_cast<std::uint8_t>(footer ? 0x10 : 0),
               static_cast<std::uint8_t>((body >> 21) & 0x7F), static_cast<std::uint8_t>((body >> 14) & 0x7F),
               static_cast<std::uint8_t>((body >> 7) & 0x7F), static_cast<std::uint8_t>(body & 0x7F)};
  tag.resize(10 + body, fill);
  if (footer) {
    Bytes foot(tag.begin(), tag.begin() + 10);
    foot[0] = '3', foot[1] = 'D', foot[2] = 'I';
    Append(tag, foot);
  }
  return tag;
}

// A LAME-style Info frame for an MPEG-1 layer III stereo stream.
Bytes InfoFrame(std::uint32_t declaredFrames, int delay, int padding, bool lameTag = true) {
  Bytes frame;
  AppendFrame(frame, kMpeg1L3, false, 0);
  std::size_t p = 4 + 32;
  std::memcpy(&frame[p], "Info", 4);
  frame[p + 7] = 0x0F;  // frames, bytes, seek table and quality present
  for (int i = 0; i < 4; ++i) frame[p + 8 + i] = static_cast<std::uint8_t>(declaredFrames >> (24 - 8 * i));
  p += 8 + 4 + 4 + 100 + 4;
  if (lameTag) {
    std::memcpy(&frame[p], "LAME3.100", 9);
    frame[p + 21] = static_cast<std::uint8_t>(delay >> 4);
    frame[p + 22] = static_cast<std::uint8_t>(((delay & 0x0F) << 4) | (padding >> 8));
    frame[p + 23] = static_cast<std::uint8_t>(padding & 0xFF);
  }
  return frame;
}

Bytes Id3v1Tag() {
  Bytes tag(128, 0x20);
  std::memcpy(tag.data(), "TAG", 3);
  return tag;
}

// An APEv2 tag holding `items`, with a header in front when `header`.
Bytes ApeTag(const Bytes& items, bool header) {
  const std::uint32_t size = static_cast<std::uint32_t>(items.size() + 32);
  auto block = [&](bool isHeader) {
    Bytes b(32, 0);
    std::memcpy(b.data(), "APETAGEX", 8);
    b[8] = 0xD0, b[9] = 0x07;  // version 2000
    for (int i = 0; i < 4; ++i) b[12 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    b[23] = static_cast<std::uint8_t>((header ? 0x80 : 0) | (isHeader ? 0x20 : 0));
    return b;
  };
  Bytes tag;
  if (header) tag = block(true);
  Append(tag, items);
  Append(tag, block(false));
  return tag;
}

TEST(MpegAudioHeader, DecodesEachVersionAndLayer) {
  struct Case {
    Kind kind;
    int version, layer, kbps, rate, channels, samples;
  };
  const Case cases[] = {
      {kMpeg1L3, 10, 3, 128, 44100, 2, 1152}, {kMpeg1L3Mono, 10, 3, 128, 44100, 1, 1152},
      {kMpeg2L3, 20, 3, 64, 22050, 2, 576},   {kMpeg25L3, 25, 3, 8, 8000, 1, 576},
      {kMpeg1L2, 10, 2, 192, 48000, 2, 1152}, {kMpeg1L1, 10, 1, 384, 44100, 2, 384},
  };
  for (const Case& c : cases) {
    for (bool padded : {false, true}) {
      Bytes frame;
      AppendFrame(frame, c.kind, padded);
      const auto h = ParseMpegAudioHeader(frame.data());
      ASSERT_TRUE(h.has_value()) << int(c.kind.b1);
      EXPECT_EQ(h->version, c.version);
      EXPECT_EQ(h->layer, c.layer);
      EXPECT_EQ(h->bitrateKbps, c.kbps);
      EXPECT_EQ(h->sampleRate, c.rate);
      EXPECT_EQ(h->channels, c.channels);
      EXPECT_EQ(h->samplesPerFrame, c.samples);
      EXPECT_EQ(h->frameBytes, static_cast<int>(frame.size())) << c.version << " layer " << c.layer;
    }
  }
}

TEST(MpegAudioHeader, RejectsReservedAndUnusableFields) {
  const std::uint8_t good[4] = {0xFF, 0xFB, 0x90, 0x64};
  ASSERT_TRUE(ParseMpegAudioHeader(good).has_value());
  struct Change {
    int index;
    std::uint8_t value;
    const char* what;
  };
  const Change changes[] = {
      {0, 0xFE, "sync"},        {1, 0xDB, "sync"},          {1, 0xEB, "reserved version"},
      {1, 0xF9, "reserved layer"}, {2, 0xF0, "bad bit rate"}, {2, 0x00, "free format"},
      {2, 0x9C, "reserved sample rate"}, {3, 0x66, "reserved emphasis"},
  };
  for (const Change& c : changes) {
    std::uint8_t bytes[4];
    std::memcpy(bytes, good, 4);
    bytes[c.index] = c.value;
    EXPECT_FALSE(ParseMpegAudioHeader(bytes).has_value()) << c.what;
  }
}

TEST(Id3v2TagSize, MeasuresHeaderBodyAndFooter) {
  EXPECT_EQ(Id3v2TagSize(Id3v2Tag(0, 0)), 10u);
  EXPECT_EQ(Id3v2TagSize(Id3v2Tag(300, 0)), 310u) << "size is sync-safe: 300 = 2 * 128 + 44";
  EXPECT_EQ(Id3v2TagSize(Id3v2Tag(300, 0, true)), 320u);
  EXPECT_EQ(Id3v2TagSize(Frames(kMpeg1L3, 1)), 0u);
  Bytes broken = Id3v2Tag(20, 0);
  broken[9] = 0x80;  // not sync-safe
  EXPECT_EQ(Id3v2TagSize(broken), 0u);
  EXPECT_EQ(Id3v2TagSize(Bytes{'I', 'D', '3'}), 0u) << "too short";
}

TEST(StartsWithMp3Frames, WantsTwoLayerThreeFramesInARow) {
  EXPECT_TRUE(StartsWithMp3Frames(Frames(kMpeg1L3, 2)));
  EXPECT_TRUE(StartsWithMp3Frames(Frames(kMpeg25L3, 3)));
  Bytes info = InfoFrame(10, 576, 1000);
  Append(info, Frames(kMpeg1L3, 1));
  EXPECT_TRUE(StartsWithMp3Frames(info)) << "an Info frame is a frame too";

  EXPECT_FALSE(StartsWithMp3Frames(Frames(kMpeg1L3, 1))) << "one frame and nothing after it";
  EXPECT_FALSE(StartsWithMp3Frames(Frames(kMpeg1L2, 2))) << "layer II is not MP3";
  Bytes mixed = Frames(kMpeg1L3, 1);
  Append(mixed, Frames(kMpeg2L3, 1));
  EXPECT_FALSE(StartsWithMp3Frames(mixed)) << "the second header disagrees with the first";
  Bytes late = {0};
  Append(late, Frames(kMpeg1L3, 2));
  EXPECT_FALSE(StartsWithMp3Frames(late)) << "the frames must start at the first byte";
  Bytes tagged = Id3v2Tag(40, 0);
  Append(tagged, Frames(kMpeg1L3, 2));
  EXPECT_FALSE(StartsWithMp3Frames(tagged)) << "a tag comes off before the check";
  EXPECT_FALSE(StartsWithMp3Frames(Bytes{0xFF, 0xFB, 0x90}));
  // An ADTS (AAC) header has the same sync bits.
  Bytes adts = {0xFF, 0xF1, 0x50, 0x80, 0x02, 0x1F, 0xFC};
  adts.resize(2000, 0);
  EXPECT_FALSE(StartsWithMp3Frames(adts));
}

TEST(ScanMp3Frames, CountsPlainFrames) {
  const auto scan = ScanMp3Frames(Frames(kMpeg1L3, 40));
  EXPECT_EQ(scan.frames, 40);
  EXPECT_EQ(scan.sampleRate, 44100);
  EXPECT_FALSE(scan.hasInfoFrame);
  EXPECT_EQ(scan.PlayedSamples(), 40 * 1152);
  EXPECT_DOUBLE_EQ(scan.Seconds(), 40 * 1152 / 44100.0);
}

TEST(ScanMp3Frames, OtherVersionsAndLayers) {
  struct Case {
    const char* name;
    Kind header;
    int frames, samplesPerFrame, rate;
  };
  for (const Case& c : {Case{"MPEG-2 layer III", kMpeg2L3, 25, 576, 22050},
                        Case{"MPEG-2.5 layer III", kMpeg25L3, 10, 576, 8000},
                        Case{"MPEG-1 layer II", kMpeg1L2, 7, 1152, 48000},
                        Case{"MPEG-1 layer I", kMpeg1L1, 9, 384, 44100}}) {
    const auto scan = ScanMp3Frames(Frames(c.header, c.frames));
    EXPECT_EQ(scan.frames, c.frames) << c.name;
    EXPECT_DOUBLE_EQ(scan.Seconds(), double(c.frames) * c.samplesPerFrame / c.rate) << c.name;
  }
}

TEST(ScanMp3Frames, SkipsId3v2TagsEvenWhenTheyHoldFrameLikeBytes) {
  // Two back-to-back tags, the first holding what looks like whole frames.
  Bytes tagged = Id3v2Tag(0, 0);
  const Bytes inner = Frames(kMpeg1L3, 3);
  tagged.resize(10 + inner.size());
  std::memcpy(&tagged[10], inner.data(), inner.size());
  const std::size_t body = inner.size();
  tagged[6] = static_cast<std::uint8_t>((body >> 21) & 0x7F);
  tagged[7] = static_cast<std::uint8_t>((body >> 14) & 0x7F);
  tagged[8] = static_cast<std::uint8_t>((body >> 7) & 0x7F);
  tagged[9] = static_cast<std::uint8_t>(body & 0x7F);
  Append(tagged, Id3v2Tag(50, 0xFF, true));
  Append(tagged, Frames(kMpeg1L3, 12));
  EXPECT_EQ(ScanMp3Frames(tagged).frames, 12);
}

TEST(ScanMp3Frames, ResynchronisesOverGarbage) {
  Bytes data;
  Append(data, Bytes(100, 0x00));  // junk before the first frame
  Append(data, Frames(kMpeg1L3, 5));
  // Junk between frames, holding a lone header that is not followed by a frame.
  Append(data, Bytes{0x12, 0xFF, 0xFB, 0x90, 0x64, 0x00, 0xFF, 0xFF, 0x34});
  Append(data, Frames(kMpeg1L3, 6));
  // A header of another stream kind in the middle is junk too.
  AppendFrame(data, kMpeg2L3);
  Append(data, Frames(kMpeg1L3, 4));
  // An ID3v1 tag at the end.
  Bytes id3v1(128, 0x20);
  std::memcpy(id3v1.data(), "TAG", 3);
  Append(data, id3v1);
  const auto scan = ScanMp3Frames(data);
  EXPECT_EQ(scan.frames, 15);
  EXPECT_EQ(scan.sampleRate, 44100);
}

TEST(ScanMp3Frames, FrameLikeBytesInTagsAtTheEndAreNotAudio) {
  // Cover art in an APE tag can hold whole frames, and an ID3v1 tag a small
  // frame that ends with the file.
  const Bytes art = Frames(kMpeg25L3, 4);
  Bytes id3v1 = Id3v1Tag();
  Bytes frame;
  AppendFrame(frame, kMpeg25L3);
  std::memcpy(&id3v1[128 - frame.size()], frame.data(), frame.size());
  Bytes apeThenId3v1 = ApeTag(art, true);
  Append(apeThenId3v1, id3v1);
  Bytes oversizedApe = ApeTag(Bytes(8, 0), false);
  oversizedApe[oversizedApe.size() - 17] = 0x7F;  // claims more bytes than the file has
  struct Case {
    const char* name;
    Bytes tail;
  };
  for (const Case& c : {Case{"ID3v1", id3v1}, Case{"APE tag with a header", ApeTag(art, true)},
                        Case{"APE tag without one", ApeTag(art, false)}, Case{"APE tag, then ID3v1", apeThenId3v1},
                        Case{"APE footer claiming too much, with junk", oversizedApe}}) {
    Bytes data = Frames(kMpeg25L3, 6);
    Append(data, c.tail);
    EXPECT_EQ(ScanMp3Frames(data).frames, 6) << c.name;
  }
}

TEST(ScanMp3Frames, LeavesOutATruncatedLastFrame) {
  Bytes data = Frames(kMpeg1L3, 8);
  data.resize(data.size() - 100);
  EXPECT_EQ(ScanMp3Frames(data).frames, 7);
  data.resize(7 * 417 + 2 + 3);  // 7 whole frames (two padded) and a cut header
  EXPECT_EQ(ScanMp3Frames(data).frames, 7);
}

TEST(ScanMp3Frames, FindsNothingInNonAudio) {
  EXPECT_EQ(ScanMp3Frames(Bytes{}).frames, 0);
  EXPECT_EQ(ScanMp3Frames(Bytes{}).Seconds(), 0.0);
  const std::string text = "Just some words in a file that happens to end in .mp3\n";
  EXPECT_EQ(ScanMp3Frames(Bytes(text.begin(), text.end())).frames, 0);
  Bytes noise;
  for (int i = 0; i < 5000; ++i) noise.push_back(static_cast<std::uint8_t>((i * 7919 + 13) % 251));
  EXPECT_EQ(ScanMp3Frames(noise).frames, 0);
}

TEST(ScanMp3Frames, InfoFrameIsNotAudioAndGivesTheGaplessLength) {
  Bytes complete = InfoFrame(40, 576, 1404);
  Append(complete, Frames(kMpeg1L3, 40));
  const auto scan = ScanMp3Frames(complete);
  EXPECT_TRUE(scan.hasInfoFrame);
  EXPECT_EQ(scan.frames, 40);
  EXPECT_EQ(scan.declaredFrames, 40);
  EXPECT_TRUE(scan.hasGaplessInfo);
  EXPECT_EQ(scan.encoderDelay, 576);
  EXPECT_EQ(scan.encoderPadding, 1404);
  EXPECT_EQ(scan.PlayedSamples(), 44100) << "40 * 1152 - 576 - 1404";
  EXPECT_DOUBLE_EQ(scan.Seconds(), 1.0);

  // Cut short, the end padding is never reached: only the start is trimmed.
  Bytes cut = InfoFrame(40, 576, 1404);
  Append(cut, Frames(kMpeg1L3, 15));
  EXPECT_EQ(ScanMp3Frames(cut).PlayedSamples(), 15 * 1152 - 576 - kMp3DecoderDelay);

  // An Info frame without the LAME extension trims nothing.
  Bytes plain = InfoFrame(10, 0, 0, false);
  Append(plain, Frames(kMpeg1L3, 10));
  const auto untagged = ScanMp3Frames(plain);
  EXPECT_TRUE(untagged.hasInfoFrame);
  EXPECT_FALSE(untagged.hasGaplessInfo);
  EXPECT_EQ(untagged.PlayedSamples(), 10 * 1152);
}

TEST(IndexMp3Frames, LocatesEachAudioFrameAndTheFirstHeader) {
  // A tag, the Info frame, two frames, junk, three frames, ID3v1.
  Bytes data = Id3v2Tag(30, 0);
  Append(data, InfoFrame(5, 576, 1000));
  const std::vector<bool> padded = {true, false, false, true, false};
  std::vector<Mp3FrameSpan> expected;
  for (std::size_t i = 0; i < padded.size(); ++i) {
    if (i == 2) Append(data, Bytes(7, 0x00));
    expected.push_back({data.size(), static_cast<std::uint32_t>(417 + padded[i])});
    AppendFrame(data, kMpeg1L3, padded[i]);
  }
  Append(data, Id3v1Tag());

  const auto index = IndexMp3Frames(data);
  EXPECT_EQ(index.frames, expected);
  EXPECT_EQ(index.scan.frames, 5);
  EXPECT_EQ(index.scan.PlayedSamples(), ScanMp3Frames(data).PlayedSamples());
  EXPECT_EQ(index.scan.firstHeader.layer, 3);
  EXPECT_EQ(index.scan.firstHeader.channels, 2);
  EXPECT_EQ(index.scan.firstHeader.sampleRate, 44100);
  EXPECT_EQ(index.scan.firstHeader.frameBytes, 418) << "the first audio frame's, not the Info frame's";

  const auto mono = IndexMp3Frames(Frames(kMpeg25L3, 2));
  EXPECT_EQ(mono.scan.firstHeader.channels, 1);
  EXPECT_EQ(mono.scan.firstHeader.version, 25);
  EXPECT_EQ(IndexMp3Frames(Bytes{}).scan.firstHeader.layer, 0) << "no frame, no header";
}

TEST(ScanMp3Frames, XingTagOfAMonoStreamSitsAfterTheShorterSideInfo) {
  Bytes data;
  AppendFrame(data, kMpeg1L3Mono, false, 0);
  std::memcpy(&data[4 + 17], "Xing", 4);
  Append(data, Frames(kMpeg1L3Mono, 6));
  const auto scan = ScanMp3Frames(data);
  EXPECT_TRUE(scan.hasInfoFrame);
  EXPECT_EQ(scan.frames, 6);

  // The same bytes at the stereo offset of a mono stream are audio.
  Bytes misplaced;
  AppendFrame(misplaced, kMpeg1L3Mono, false, 0);
  std::memcpy(&misplaced[4 + 32], "Xing", 4);
  Append(misplaced, Frames(kMpeg1L3Mono, 6));
  EXPECT_EQ(ScanMp3Frames(misplaced).frames, 7);
}

}  // namespace
