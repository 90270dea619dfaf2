#include "model/replay_gain.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kestrafon {
namespace {

double FactorOfDecibels(double db) { return std::pow(10.0, db / 20.0); }

}  // namespace

double ReplayGainFactor(const ReplayGainInfo& tags, const ReplayGainSettings& settings) {
  if (settings.mode == ReplayGainMode::Off) return 1.0;
  // Album mode falls back to the track's gain, track mode to the album's.
  const bool useAlbum =
      settings.mode == ReplayGainMode::Album ? tags.albumGainDb.has_value() : !tags.trackGainDb.has_value();
  const std::optional<double> gain = useAlbum ? tags.albumGainDb : tags.trackGainDb;
  if (!gain) return FactorOfDecibels(settings.untaggedDb);
  // The peak that goes with the gain taken, else the other one.
  std::optional<double> peak = useAlbum ? tags.albumPeak : tags.trackPeak;
  if (!peak) peak = useAlbum ? tags.trackPeak : tags.albumPeak;
  double factor = FactorOfDecibels(*gain + settings.preampDb);
  if (peak && *peak > 0.0) factor = std::min(factor, 1.0 / *peak);
  return factor;
}

seam::ReadTrack TrackReaderBy(const ReplayGainSettings& settings) {
  return [settings](const std::string& path) {
    TrackTags tags = ReadTrackTagsOfFile(path);
    return seam::TrackFacts{ReplayGainFactor(tags.gain, settings),
                            {std::move(tags.title), std::move(tags.artist), std::move(tags.album)}};
  };
}

}  // namespace kestrafon
