// Playlist files of every kind Add reads, from the disk into the track list,
// and M3U8 onto the disk.
#include "model/local_files.h"
#include "model/paths.h"
#include "model/playlist_formats.h"
#include "model/track_list.h"

namespace kestrafon {
namespace {

// The folder relative entries start from: the list's own, without its
// trailing separator ("/" gives "", "C:\" gives "C:", as AbsolutePath joins).
std::string ListFolder(const std::string& path) {
  const std::size_t separator = path.find_last_of("/\\");
  if (separator == std::string::npos) return os::CurrentFolder();
  return path.substr(0, separator);
}

}  // namespace

bool ReadListFile(const std::string& path, ListEntries& entries) {
  const PlaylistKind kind = PlaylistKindOf(path);
  if (kind == PlaylistKind::Kfl || kind == PlaylistKind::None) {
    std::vector<std::string> own;
    if (!ReadPlaylistFile(path, own)) return false;
    entries = {std::move(own), 0};
    return true;
  }
  std::string bytes;
  if (!ReadPlaylistBytes(path, bytes)) return false;
  ListEntries read = kind == PlaylistKind::Pls ? ParsePlsText(bytes)
                                               : ParseM3uText(bytes, kind == PlaylistKind::M3u8
                                                                         ? ListEncoding::Utf8
                                                                         : ListEncoding::Utf8OrCp932);
  bytes = {};  // a list near the size limit need not be held twice
  const std::string folder = ListFolder(path);
  for (std::string& entry : read.paths)
    if (!IsAbsoluteEntry(entry)) entry = os::AbsolutePath(entry, folder);
  entries = std::move(read);
  return true;
}

bool AppendListFile(TrackList& tracks, const std::string& path, std::size_t& urls) {
  ListEntries list;
  if (!ReadListFile(path, list)) return false;
  for (const std::string& entry : list.paths) tracks.Append(entry);
  urls += list.urls;
  return true;
}

SaveResult WriteM3u8File(const std::string& path, const std::vector<std::string>& entries, const SaveOps& ops) {
  return WritePlaylistBytes(path, EncodeM3u8Text(entries, FolderOf(path).value_or("")), ops);
}

}  // namespace kestrafon
