// The MP3 source against the system's ACM decoder (Wine's, in the tests):
// each file decodes to the WAV it was encoded from, in step to the sample.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "audio/mp3_frame_scan.h"
#include "fixtures/scratch_files.h"
#include "os/win32/wide_text.h"
#include "platform/winsound/mp3_acm_source.h"
#include "windows/winsound/decoded_files.h"

namespace kestrafon {
namespace {

using platform::winsound::OpenMp3Source;
using winsound_tests::Fixture;
using winsound_tests::ReadFrames;
using winsound_tests::ReadWav;
using winsound_tests::Wav;
using Samples = std::vector<std::int16_t>;

// LAME's delay before the signal, and the decoder's after it: what a file
// without a LAME header plays before its first sample.
constexpr std::int64_t kUntrimmedLead = 576 + mp3::kMp3DecoderDelay;

// Root mean square of decoded − source over `frames` frames from source
// frame `from`, the decoded samples taken `lag` frames later.
double RmsError(const Samples& decoded, const std::vector<double>& source, int channels, std::int64_t lag, std::int64_t from,
                std::int64_t frames) {
  double sum = 0;
  for (std::int64_t i = from * channels; i < (from + frames) * channels; ++i) {
    const double d = decoded[std::size_t(i + lag * channels)] - source[std::size_t(i)];
    sum += d * d;
  }
  return std::sqrt(sum / double(frames * channels));
}

TEST(Mp3AcmSource, DecodesEachKindInStepWithItsSource) {
  struct Case {
    const char* stem;
    std::int64_t lead;  // decoded frames before the source's first
    bool cut = false;   // only the first 60% of the file's bytes
  };
  const Case cases[] = {
      {"mp3_cbr", 0},    {"mp3_vbr", 0},    {"mp3_plain", kUntrimmedLead},
      {"mp3_mpeg2", 0},  {"mp3_mpeg25", 0}, {"mp3_tagged", 0},
      {"mp3_cbr", 0, true},  // a download cut short: the end is never reached
  };
  fixtures::TempDir scratch;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.stem) + (c.cut ? " cut" : ""));
    std::string path = Fixture(std::string(c.stem) + ".mp3");
    std::string bytes = fixtures::ReadBytes(path);
    if (c.cut) {
      bytes.resize(bytes.size() * 6 / 10);
      path = scratch.File("cut.mp3");
      fixtures::WriteBytes(path, bytes);
    }
    const Wav wav = ReadWav(Fixture(std::string(c.stem) + ".wav"));
    ASSERT_GT(wav.format.channels, 0);
    const auto source = OpenMp3Source(path);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->Format(), wav.format);
    const int channels = wav.format.channels;
    const std::int64_t sourceFrames = std::int64_t(wav.samples.size()) / channels;
    const auto scan = mp3::ScanMp3Frames(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_EQ(source->Frames(), scan.PlayedSamples()) << "as long as the Linux build says";
    if (c.cut) {
      EXPECT_LT(source->Frames(), sourceFrames);
    } else if (c.lead == 0) {
      EXPECT_EQ(source->Frames(), sourceFrames);
    }

    const Samples decoded = ReadFrames(*source, source->Frames() + 1000);
    ASSERT_EQ(std::int64_t(decoded.size()), source->Frames() * channels);
    // The lag over ±2000 frames at which a stretch of the sweep matches best.
    const std::int64_t common = std::min(sourceFrames, source->Frames() - c.lead);
    const std::int64_t from = common / 3, stretch = 4096;
    ASSERT_LE(from + stretch + 2000 + c.lead, source->Frames());
    std::int64_t best = -2000;
    double bestError = 1e300;
    for (std::int64_t lag = -2000; lag <= 2000; ++lag) {
      const double e = RmsError(decoded, wav.samples, channels, lag, from, stretch);
      if (e < bestError) best = lag, bestError = e;
    }
    EXPECT_EQ(best, c.lead);
    // Lossy, but close over the whole file: the error well below the signal.
    const Samples silence(wav.samples.size());
    EXPECT_LT(RmsError(decoded, wav.samples, channels, c.lead, 0, common),
              0.15 * RmsError(silence, wav.samples, channels, 0, 0, common));
  }
}

TEST(Mp3AcmSource, SeekGivesTheSamplesOfAStraightRead) {
  for (const char* stem : {"mp3_vbr", "mp3_mpeg2", "mp3_plain"}) {
    SCOPED_TRACE(stem);
    const auto source = OpenMp3Source(Fixture(std::string(stem) + ".mp3"));
    ASSERT_TRUE(source);
    const Samples straight = ReadFrames(*source, source->Frames() + 1000);
    const std::int64_t length = source->Frames();
    const std::size_t channels = std::size_t(source->Format().channels);
    // Into the middle of a frame far in, back to the start, onto frame
    // edges, just before the end and at it.
    for (const std::int64_t at : {length / 2 + 7, std::int64_t{0}, std::int64_t{1}, std::int64_t{1152 * 3},
                                  std::int64_t{1152 * 11 - 1}, length - 100, length}) {
      SCOPED_TRACE(at);
      ASSERT_TRUE(source->Seek(at));
      Samples got(2000 * channels);
      got.resize(source->Read(got.data(), 2000) * channels);
      const std::size_t from = std::size_t(at) * channels;
      ASSERT_EQ(got.size(), std::min(straight.size() - from, 2000 * channels));
      int worst = 0;
      for (std::size_t i = 0; i < got.size(); ++i) worst = std::max(worst, std::abs(got[i] - straight[from + i]));
      // The decoder's dither starts afresh: the last bit or two may differ.
      EXPECT_LE(worst, 8);
    }
    EXPECT_FALSE(source->Seek(-1));
    EXPECT_FALSE(source->Seek(length + 1));
  }
}

TEST(Mp3AcmSource, OpensOrdinaryMp3FilesOnly) {
  fixtures::TempDir scratch;
  fixtures::WriteBytes(scratch.File("empty.mp3"), "");
  const std::string refused[] = {
      Fixture("not_audio.mp3"),   // text
      scratch.File("empty.mp3"),  //
      Fixture("missing.mp3"),     //
      Fixture(""),                // a folder
      Fixture("mp3_cbr.wav"),     // audio, but not MP3
      "NUL",                      // a device
  };
  for (const std::string& path : refused) EXPECT_FALSE(OpenMp3Source(path)) << path;

  std::string folder = scratch.path();
  while (folder.size() < 280) {
    folder += "\\" + std::string(60, 'd');
    ASSERT_TRUE(CreateDirectoryW(os::WidenPath(folder).c_str(), nullptr));
  }
  const std::string longPath = folder + "\\long.mp3";
  ASSERT_TRUE(CopyFileW(os::Widen(Fixture("mp3_cbr.mp3")).c_str(), os::WidenPath(longPath).c_str(), FALSE));
  EXPECT_TRUE(OpenMp3Source(longPath)) << "a path past 260 characters";
}

}  // namespace
}  // namespace kestrafon
