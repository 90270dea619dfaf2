#include "model/track_list.h"
#include "model/paths.h"
#include "model/playlist_file.h"
#include "model/playlist_formats.h"

namespace kestrafon {

bool AppendPlaylistFile(TrackList& tracks, const std::string& path) {
  std::vector<std::string> entries;
  if (!ReadPlaylistFile(path, entries)) return false;
  for (const auto& entry : entries) tracks.Append(entry);
  return true;
}

SaveResult SavePlaylistFile(const TrackList& tracks, const std::string& path, const SaveOps& ops) {
  const std::int32_t count = tracks.Count();  // read once
  std::vector<std::string> entries;
  entries.reserve(std::size_t(count));
  for (std::int32_t i = 1; i <= count; ++i) entries.push_back(tracks.PathAt(i));
  // A name the user gave ".m3u8" is an M3U8 list; any other the player's own.
  if (PlaylistKindOf(path) == PlaylistKind::M3u8) return WriteM3u8File(path, entries, ops);
  return WritePlaylistFile(path, entries, ops);
}

}  // namespace kestrafon
