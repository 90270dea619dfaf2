// The factor each file plays at: the mode's gain, its fallback, the pre-amp,
// the cap a known peak sets, and untagged files.
#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <utility>

#include "fixtures/scratch_files.h"
#include "model/replay_gain.h"

namespace kestrafon {
namespace {

using Mode = ReplayGainMode;

double Db(double factor) { return 20.0 * std::log10(factor); }

TEST(ReplayGain, TheModesGainWithItsFallbackPreAmpAndPeakCap) {
  ReplayGainInfo both;
  both.trackGainDb = -6;
  both.trackPeak = 0.5;
  both.albumGainDb = -9;
  both.albumPeak = 0.9;
  ReplayGainInfo trackOnly;
  trackOnly.trackGainDb = -4;
  ReplayGainInfo albumOnly;
  albumOnly.albumGainDb = -2;
  ReplayGainInfo loudPeak;  // +10 dB asked, but the peak allows only +6.02
  loudPeak.trackGainDb = 10;
  loudPeak.trackPeak = 0.5;
  const struct {
    const char* name;
    ReplayGainInfo tags;
    ReplayGainSettings settings;
    double db;
  } cases[] = {
      {"off", both, {Mode::Off, 5, 5}, 0},
      {"track", both, {Mode::Track, 0, 0}, -6},
      {"album", both, {Mode::Album, 0, 0}, -9},
      {"album falls back to track", trackOnly, {Mode::Album, 0, 0}, -4},
      {"track falls back to album", albumOnly, {Mode::Track, 0, 0}, -2},
      {"pre-amp", both, {Mode::Track, 3, 0}, -3},
      {"capped by the peak", loudPeak, {Mode::Track, 0, 0}, Db(2.0)},
      {"untagged", {}, {Mode::Track, 6, -5}, -5},
      {"untagged, by default", {}, {}, 0},
  };
  for (const auto& c : cases) EXPECT_NEAR(Db(ReplayGainFactor(c.tags, c.settings)), c.db, 1e-9) << c.name;
}

// One read gives the frameworks both: the text even with ReplayGain off.
TEST(ReplayGain, TheReaderGivesTheFactorAndTheTextInEveryMode) {
  const fixtures::TempDir dir;
  const std::string path = dir.File("tagged.mp3");
  const auto field = [](std::string s) { return s.append(30 - s.size(), '\0'); };
  std::string id3v1 = "TAG" + field("Title") + field("Artist") + field("Album");
  fixtures::WriteBytes(path, std::string(1000, '\0') + id3v1.append(128 - id3v1.size(), '\0'));
  for (const auto& [settings, db] : {std::pair{ReplayGainSettings{Mode::Off, 0, -6}, 0.0}, {{Mode::Track, 0, -6}, -6.0}}) {
    const seam::TrackFacts facts = TrackReaderBy(settings)(path);
    EXPECT_NEAR(Db(facts.gain), db, 1e-9);
    EXPECT_EQ(facts.text, (seam::TrackText{"Title", "Artist", "Album"}));
  }
  EXPECT_EQ(TrackReaderBy({})(dir.File("missing.mp3")).text, seam::TrackText{});
}

}  // namespace
}  // namespace kestrafon
