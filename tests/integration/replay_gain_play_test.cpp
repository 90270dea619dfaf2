// Even loudness on real graphs: one tone, untagged and tagged with a track
// and an album gain, played in each mode, is heard at the level asked for.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "fixtures/mp3_fixtures.h"
#include "fixtures/scoped_env.h"
#include "fixtures/tone_joints.h"
#include "model/replay_gain.h"
#include "real_player.h"

namespace kestrafon {
namespace {

using namespace std::chrono_literals;
using Mode = ReplayGainMode;

// An ID3v2.3 tag of UTF-8 TXXX frames.
std::string GainTag(const std::vector<std::pair<std::string, std::string>>& items) {
  std::string frames;
  for (const auto& [name, value] : items) {
    const std::string body = "\x03" + name + std::string(1, '\0') + value;
    frames += "TXXX";
    for (int shift : {24, 16, 8, 0}) frames.push_back(char((body.size() >> shift) & 0xFF));
    frames += std::string(2, '\0') + body;
  }
  std::string tag = "ID3\x03";
  tag += std::string(2, '\0');
  for (int shift : {21, 14, 7, 0}) tag.push_back(char((frames.size() >> shift) & 0x7F));
  return tag + frames;
}

// The level of what one player played, in dB of full scale.
double PlayedDb(const std::string& path, const ReplayGainSettings& settings, const fixtures::TempDir& dir) {
  const std::string played = dir.File("played.raw");
  fixtures::ScopedEnv sink("KESTRAFON_AUDIO_SINK", "file:" + played);
  RealPlayer p(platform::gst::AudioOutput::kDevice, TrackReaderBy(settings));
  p.ctx.playerWindow().Load();
  p.ctx.tracks().Append(path);
  // A first start and stop leaves the output at the knob's volume throughout.
  p.ClickPlay();
  p.Click(185, 160);  // Stop
  std::filesystem::resize_file(played, 0);
  p.ClickPlay();
  p.TickWhile([&] { return p.ctx.timer().Ticking(); }, 10s);
  const std::vector<std::int16_t> samples = fixtures::ReadSamples(played);
  double sum = 0;
  for (const std::int16_t s : samples) sum += double(s) * s;
  return samples.empty() ? -200.0 : 10.0 * std::log10(sum / samples.size() / (32768.0 * 32768.0));
}

TEST(ReplayGainPlay, EachModeIsHeardAtItsGain) {
  fixtures::TempDir dir;
  const std::string plain = dir.File("plain.mp3"), tagged = dir.File("tagged.mp3");
  ASSERT_TRUE(fixtures::MakeMp3(plain, 1.0, 128, false));  // no LAME header: no gain of its own
  fixtures::WriteBytes(tagged, GainTag({{"REPLAYGAIN_TRACK_GAIN", "-6.00 dB"},
                                        {"replaygain_album_gain", "-10.50 dB"},
                                        {"REPLAYGAIN_TRACK_PEAK", "0.5"}}) +
                                   fixtures::ReadBytes(plain));
  const double reference = PlayedDb(plain, {Mode::Off, 0, 0}, dir);
  const struct {
    std::string file;
    ReplayGainSettings settings;
    double db;
  } cases[] = {
      {tagged, {Mode::Off, 0, 0}, 0},       {tagged, {Mode::Track, 0, 0}, -6},  {tagged, {Mode::Album, 0, 0}, -10.5},
      {tagged, {Mode::Track, 2, 0}, -4},    {plain, {Mode::Track, 0, -3}, -3},  {plain, {}, 0},
  };
  for (const auto& c : cases) {
    const double heard = PlayedDb(c.file, c.settings, dir) - reference;
    std::printf("%s, mode %d, pre-amp %+.1f dB, untagged %+.1f dB: heard at %+.2f dB\n",
                std::filesystem::path(c.file).filename().c_str(), int(c.settings.mode), c.settings.preampDb,
                c.settings.untaggedDb, heard);
    EXPECT_NEAR(heard, c.db, 0.2);
  }
}

}  // namespace
}  // namespace kestrafon
