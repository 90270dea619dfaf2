// The formats besides MP3 that arrive by the command line or a drop: each,
// generated here, plays through the real graph for exactly its length, and
// is heard.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "fixtures/scoped_env.h"
#include "fixtures/scratch_files.h"
#include "fixtures/tone_joints.h"
#include "real_player.h"

namespace kestrafon {
namespace {

using namespace std::chrono_literals;

constexpr double kSeconds = 1.234;

TEST(FormatsPlay, EachPlaysForItsExactLengthAndIsHeard) {
  fixtures::TempDir dir;
  const std::string wav = dir.File("tone.wav");
  const std::string tone = " synth " + std::to_string(kSeconds) + " sine 440 vol 0.3";
  ASSERT_EQ(std::system(("sox -q -n -r 44100 -c 2 -b 16 '" + wav + "'" + tone).c_str()), 0);
  const struct {
    const char* name;
    std::string make;  // writes $OUT from tone.wav
  } formats[] = {
      {"tone.wav", ""},
      {"tone.flac", "sox -q '" + wav + "' \"$OUT\""},
      {"tone.ogg", "sox -q '" + wav + "' -C 5 \"$OUT\""},
      {"tone.opus", "gst-launch-1.0 -q filesrc location='" + wav +
                        "' ! wavparse ! audioconvert ! audioresample ! opusenc ! oggmux ! filesink location=\"$OUT\""},
  };
  for (const auto& format : formats) {
    SCOPED_TRACE(format.name);
    const std::string file = dir.File(format.name);
    if (!format.make.empty()) {
      ASSERT_EQ(std::system(("OUT='" + file + "'; " + format.make).c_str()), 0);
    }
    const std::string played = dir.File("played.raw");
    fixtures::ScopedEnv sink("KESTRAFON_AUDIO_SINK", "file:" + played);
    RealPlayer p(platform::gst::AudioOutput::kDevice);
    p.ctx.playerWindow().Load();
    p.ctx.tracks().Append(file);
    p.ClickPlay();
    p.Click(185, 160);  // Stop: the output now plays at the knob's volume from the start
    std::filesystem::resize_file(played, 0);
    p.ClickPlay();
    ASSERT_TRUE(p.ctx.timer().Ticking()) << "not playing";
    double duration = 0;
    ASSERT_TRUE(p.ctx.engine().graph() && p.ctx.engine().graph()->Duration(duration));
    EXPECT_NEAR(duration, kSeconds, 0.001);
    p.TickWhile([&] { return p.ctx.timer().Ticking(); }, 20s);

    const std::vector<std::int16_t> samples = fixtures::ReadSamples(played);
    EXPECT_NEAR(double(samples.size()) / 2 / 44100, kSeconds, 0.001);
    double sum = 0;
    for (const std::int16_t s : samples) sum += double(s) * s;
    EXPECT_GT(std::sqrt(sum / std::max<std::size_t>(samples.size(), 1)), 1000.0) << "heard";
  }
}

}  // namespace
}  // namespace kestrafon
