#pragma once
// The tags of a track, for even loudness (ReplayGain) and the desktop's
// "now playing": read from the few bytes at a file's start and end, never
// from the whole file. MP3 files (ID3v2, APEv2, ID3v1, the LAME header's
// gain), FLAC and Ogg Vorbis / Opus (Vorbis comments). Any bytes are
// accepted: what cannot be read is left empty.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kestrafon {

struct ReplayGainInfo {
  // Decibels to add to reach the ReplayGain reference loudness; peaks are
  // sample amplitudes where 1.0 is full scale.
  std::optional<double> trackGainDb, trackPeak, albumGainDb, albumPeak;
  bool operator==(const ReplayGainInfo&) const = default;
};

struct TrackTags {
  std::string title, artist, album;  // UTF-8, empty when absent
  ReplayGainInfo gain;
  bool operator==(const TrackTags&) const = default;
};

// The tags found in `head` (the file's first bytes) and `tail` (its last
// bytes; the two may overlap, or be the same bytes for a small file).
// Where several tags name the same field, the first of these wins: Vorbis
// comments, ID3v2, APEv2, ID3v1. The LAME header's gain is taken only when
// no tag gives a track gain or peak.
TrackTags ReadTrackTags(std::string_view head, std::string_view tail);

// How much of a file ReadTrackTagsOfFile reads: tags at the start beyond
// kTagHeadBytes (a large cover picture in front of the text) are cut there.
inline constexpr std::size_t kTagHeadBytes = std::size_t(1) << 20;
inline constexpr std::size_t kTagTailBytes = std::size_t(256) << 10;

// ReadTrackTags on the file at `path` (UTF-8), read by the operating
// system's twin (src/os). Empty tags when the file is missing, unreadable or
// not a regular file; nothing else is ever opened.
TrackTags ReadTrackTagsOfFile(const std::string& path);

}  // namespace kestrafon
