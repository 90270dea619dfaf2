#pragma once
// Even loudness: the factor each file plays at, from its ReplayGain tags and
// the user's settings.
#include "model/player_settings.h"
#include "model/track_tags.h"
#include "seam/media.h"

namespace kestrafon {

// Album mode takes the album gain, else the track gain; track mode the other
// way round. The pre-amp is added to a tagged gain; an untagged file gets
// the untagged gain. A known peak caps the factor, so no peak goes past full
// scale. Off: 1.
double ReplayGainFactor(const ReplayGainInfo& tags, const ReplayGainSettings& settings);

// What the media frameworks ask for each file they open: its tags read once,
// for the factor worked out from them (1 when ReplayGain is off) and for the
// text the desktop shows.
seam::ReadTrack TrackReaderBy(const ReplayGainSettings& settings);

}  // namespace kestrafon
