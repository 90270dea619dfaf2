#include "model/track_tags.h"

#include "model/track_tags_parts.h"

namespace kestrafon {
namespace tags {

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

void SetIfEmpty(std::string& field, std::string value) {
  if (field.empty()) field = std::move(value);
}

void TakeTextItem(std::string_view key, std::string utf8, TrackTags& into) {
  if (SameKey(key, "TITLE")) SetIfEmpty(into.title, std::move(utf8));
  else if (SameKey(key, "ARTIST")) SetIfEmpty(into.artist, std::move(utf8));
  else if (SameKey(key, "ALBUM")) SetIfEmpty(into.album, std::move(utf8));
}

void TakeGainItem(std::string_view key, std::string_view text, ReplayGainInfo& into) {
  std::optional<double>* field = SameKey(key, "REPLAYGAIN_TRACK_GAIN")   ? &into.trackGainDb
                                 : SameKey(key, "REPLAYGAIN_TRACK_PEAK") ? &into.trackPeak
                                 : SameKey(key, "REPLAYGAIN_ALBUM_GAIN") ? &into.albumGainDb
                                 : SameKey(key, "REPLAYGAIN_ALBUM_PEAK") ? &into.albumPeak
                                                                         : nullptr;
  if (field && !*field) *field = ParseDecimal(text);
}

}  // namespace tags

TrackTags ReadTrackTags(std::string_view head, std::string_view tail) {
  TrackTags id3;
  const std::size_t audioStart = tags::ReadId3v2(head, id3);
  const std::string_view audio = audioStart < head.size() ? head.substr(audioStart) : std::string_view{};

  // A FLAC file may carry an ID3v2 tag in front; its own comments come first.
  TrackTags tags;
  tags::ReadVorbisComments(audio, tags);
  tags::SetIfEmpty(tags.title, std::move(id3.title));
  tags::SetIfEmpty(tags.artist, std::move(id3.artist));
  tags::SetIfEmpty(tags.album, std::move(id3.album));
  ReplayGainInfo& gain = tags.gain;
  for (auto [to, from] : {std::pair{&gain.trackGainDb, id3.gain.trackGainDb}, {&gain.trackPeak, id3.gain.trackPeak},
                          {&gain.albumGainDb, id3.gain.albumGainDb}, {&gain.albumPeak, id3.gain.albumPeak}}) {
    if (!*to) *to = from;
  }
  tags::ReadApeTag(tail, tags);
  tags::ReadId3v1(tail, tags);

  // The encoder's own measurement, a rougher one than a tagger's: only when
  // no tag says anything about the track.
  if (!gain.trackGainDb && !gain.trackPeak) tags::ReadLameGain(audio, gain);
  return tags;
}

}  // namespace kestrafon
