#pragma once
// The playlists other players write, which Add reads as it reads the
// player's own: M3U and M3U8 (a path or a URI a line; lines starting with
// '#' say something else) and PLS (an INI file whose FileN keys, in N order,
// are the entries). Save writes M3U8 when asked for a file of that name.
// An entry that is itself a playlist is added as an entry, as the player's
// own lists do: nothing is read inside another list.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/playlist_file.h"

namespace kestrafon {

class TrackList;

// What a list names.
struct ListEntries {
  // UTF-8, in order: paths as the list writes them (relative ones are made
  // absolute only by ReadListFile) and the local paths of file:// URIs.
  std::vector<std::string> paths;
  // Entries left out because they name no file of this computer: URLs of any
  // scheme but file:, and file:// URIs of another host.
  std::size_t urls = 0;
};

// M3U text is UTF-8 when it is valid UTF-8 and code page 932 otherwise; M3U8
// and any text behind a byte-order mark is always UTF-8, where a byte that
// starts no character becomes U+FFFD. Lines end in CR LF, LF or CR; blank
// lines and '#' lines are skipped, and so is a line holding a NUL byte.
enum class ListEncoding { Utf8, Utf8OrCp932 };
ListEntries ParseM3uText(std::string_view bytes, ListEncoding encoding);
// The [playlist] section's FileN entries (and any before the first section),
// in the order of N; entries with the same N in the order written. Text as
// M3U's.
ListEntries ParsePlsText(std::string_view bytes);

// True for a path that needs no folder to start from: "/a", "C:\a", "C:a",
// "\\server\a". Other entries of a list lie in the list's folder.
bool IsAbsoluteEntry(std::string_view path);

// The bytes of an M3U8 list kept in `listFolder` (with its trailing
// separator; empty when unknown): UTF-8 with no byte-order mark, "#EXTM3U"
// first, then one entry a line, each line ended by CR LF. An entry inside the
// folder is written relative to it, any other one as it is. Entries that the
// reader would take for something else are kept apart: a relative one that
// starts with '#', looks like a URL or is blank gets "./" in front, and an
// absolute POSIX path with a line break is written as a file:// URI. Entries
// that can name no file (empty, holding a NUL byte, or with a line break and
// no '/' in front) are left out.
std::string EncodeM3u8Text(const std::vector<std::string>& entries, std::string_view listFolder);

// Reads the playlist file at `path`, of the kind its name says (see
// PlaylistKindOf; the player's own for any other name). Relative entries are
// made absolute against the list's own folder. False, with `entries`
// untouched, when the file cannot be read (as ReadPlaylistFile).
bool ReadListFile(const std::string& path, ListEntries& entries);

// Appends the entries of the playlist file at `path` behind the track list,
// and adds to `urls` the entries left out for naming no local file. False
// when the file cannot be read; nothing changes then.
bool AppendListFile(TrackList& tracks, const std::string& path, std::size_t& urls);

// Stores the entries at `path` as M3U8 (EncodeM3u8Text, relative to the
// folder `path` names), as safely as WritePlaylistFile stores the player's own.
SaveResult WriteM3u8File(const std::string& path, const std::vector<std::string>& entries, const SaveOps& ops = {});

}  // namespace kestrafon
