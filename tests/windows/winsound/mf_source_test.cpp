// The Media Foundation source against the system's decoders (under Wine,
// GStreamer's), used as the sound stream uses it: opened on a worker thread,
// then read on another, both in the multithreaded apartment.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/winsound/mf_source.h"
#include "windows/winsound/decoded_files.h"

namespace kestrafon::platform::winsound {
namespace {

using audio::PcmFormat;
using audio::PcmSource;
using winsound_tests::Fixture;
using winsound_tests::ReadFrames;
using winsound_tests::ReadWav;
using winsound_tests::Wav;

struct MultithreadedCom {
  MultithreadedCom() { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
  ~MultithreadedCom() { CoUninitialize(); }
};

std::unique_ptr<PcmSource> OpenOnWorker(const std::string& path) {
  std::unique_ptr<PcmSource> source;
  std::thread([&] {
    const MultithreadedCom com;
    source = OpenMediaFoundationSource(path);
  }).join();
  return source;
}

double Energy(const std::vector<double>& s) { return std::inner_product(s.begin(), s.end(), s.begin(), 0.0); }

struct Decoded {
  const char* file;
  const char* source;  // the WAV it was made from
  std::int64_t lengthSlack;
  std::optional<double> sampleSlack;  // none when lossy: only the sound is the same
  int seekSlack;  // the conversion to 16 bits may dither, differently at each read
};

const Decoded kDecoded[] = {
    {"mf_sweep16.wav", "mf_sweep16.wav", 0, 0.0, 0},
    {"mf_mono22k.wav", "mf_mono22k.wav", 0, 0.0, 0},
    // 24 bits made 16: rounded, and dithered by a step.
    {"mf_sweep24.wav", "mf_sweep24.wav", 0, 1.5, 2},
    {"mf_sweep.flac", "mf_sweep16.wav", 0, 0.0, 0},
    // The last Ogg page's granule position counts the samples exactly.
    // Vorbis decodes to floats, dithered to 16 bits.
    {"mf_sweep.ogg", "mf_sweep16.wav", 0, std::nullopt, 2},
    // Exact from LAME's header (encoder delay and padding); a decoder that
    // ignores it counts whole frames of 1152 samples.
    {"mf_sweep.mp3", "mf_sweep16.wav", 1152, std::nullopt, 0},
};

class MediaFoundationDecodes : public testing::TestWithParam<Decoded> {
  const MultithreadedCom com_;
};

TEST_P(MediaFoundationDecodes, TheWholeFileInItsOwnFormat) {
  const Decoded& c = GetParam();
  const Wav wav = ReadWav(Fixture(c.source));
  const auto sourceFrames = std::int64_t(wav.samples.size()) / wav.format.channels;
  ASSERT_GT(sourceFrames, 0);
  const auto source = OpenOnWorker(Fixture(c.file));
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->Format(), wav.format);
  EXPECT_LE(std::abs(source->Frames() - sourceFrames), c.lengthSlack);

  const std::vector<std::int16_t> decoded = ReadFrames(*source, source->Frames() + 1000);
  ASSERT_EQ(std::int64_t(decoded.size()), source->Frames() * wav.format.channels);
  const std::vector<double> got(decoded.begin(), decoded.end());
  if (c.sampleSlack) {
    ASSERT_EQ(got.size(), wav.samples.size());
    for (std::size_t i = 0; i < got.size(); ++i) ASSERT_NEAR(got[i], wav.samples[i], *c.sampleSlack) << "sample " << i;
  } else {
    EXPECT_NEAR(Energy(got) / Energy(wav.samples), 1.0, 0.1);  // not silence, not noise
  }
}

TEST_P(MediaFoundationDecodes, SeeksToTheSameSamplesAsReadingThrough) {
  const auto source = OpenOnWorker(Fixture(GetParam().file));
  ASSERT_NE(source, nullptr);
  const auto channels = std::size_t(source->Format().channels);
  const std::int64_t frames = source->Frames();
  const std::vector<std::int16_t> straight = ReadFrames(*source, frames);
  ASSERT_EQ(straight.size(), std::size_t(frames) * channels);
  // Forwards and back, onto and between the decoder's buffers.
  for (const std::int64_t frame : {frames / 2 + 7, std::int64_t(1), frames - 500, std::int64_t(4096), std::int64_t(0)}) {
    SCOPED_TRACE(frame);
    ASSERT_TRUE(source->Seek(frame));
    const std::vector<std::int16_t> read = ReadFrames(*source, 3000);
    const auto from = straight.begin() + std::ptrdiff_t(std::size_t(frame) * channels);
    ASSERT_EQ(read.size(), std::min<std::size_t>(3000 * channels, std::size_t(straight.end() - from)));
    // One frame off would differ by hundreds: the sweep is never that slow.
    int worst = 0;
    for (std::size_t i = 0; i < read.size(); ++i) worst = std::max(worst, std::abs(read[i] - from[std::ptrdiff_t(i)]));
    EXPECT_LE(worst, GetParam().seekSlack);
  }
  ASSERT_TRUE(source->Seek(frames));
  std::int16_t sample[2];
  EXPECT_EQ(source->Read(sample, 1), 0u);
  EXPECT_FALSE(source->Seek(frames + 1));
}

INSTANTIATE_TEST_SUITE_P(MediaFoundation, MediaFoundationDecodes, testing::ValuesIn(kDecoded),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           name[name.rfind('.')] = '_';
                           return name;
                         });

TEST(MediaFoundationSource, RefusesWhatIsNotADecodableFile) {
  const MultithreadedCom com;
  const fixtures::TempDir dir("kestrafon-mf-");
  fixtures::WriteBytes(dir.File("empty.wav"), "");
  const struct {
    const char* what;
    std::string path;
  } kRefused[] = {
      {"text named .wav", Fixture("mf_not_audio.wav")},
      {"empty file", dir.File("empty.wav")},
      {"missing file", Fixture("mf_missing.wav")},
      {"folder", dir.path()},
  };
  for (const auto& input : kRefused) EXPECT_EQ(OpenOnWorker(input.path), nullptr) << input.what;
}

}  // namespace
}  // namespace kestrafon::platform::winsound
