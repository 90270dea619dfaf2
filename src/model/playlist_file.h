#pragma once
// Playlist files (".kfl"): one entry per line, each line ended by CR LF, in
// code page 932 with no header, so files stay interchangeable with the
// player's own. Entries that would not come back unchanged from that form
// are protected: an entry with a comma, a line break, a leading or trailing
// space or a leading double quote is written in double quotes (a quote
// inside doubled), and a list with characters outside code page 932 is
// written as UTF-8 behind a byte-order mark.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrafon {

class TrackList;

// The bytes of a playlist file holding `entries` (UTF-8 text), in order.
std::string EncodePlaylistText(const std::vector<std::string>& entries);

// The entries of a playlist file's bytes, as UTF-8 text. A byte-order mark
// means UTF-8; so does text that is valid UTF-8; anything else is code page
// 932, where bytes that are not code page 932 become U+FFFD. Any bytes are
// accepted.
std::vector<std::string> ParsePlaylistText(std::string_view bytes);

// The same, for text that is valid both as UTF-8 and as code page 932 (short
// half-width katakana names often are): whichever reading names more files
// that `exists` among its first kEntriesCheckedOnDisk entries wins; a tie
// reads UTF-8. Never called for other text.
using EntryExists = std::function<bool(const std::string& utf8Path)>;
std::vector<std::string> ParsePlaylistText(std::string_view bytes, const EntryExists& exists);
inline constexpr std::size_t kEntriesCheckedOnDisk = 8;

// The system calls a save goes through, so tests can make one of them fail.
// An empty member means the system's own. `createTemp` makes a new, empty
// file beside `target` and gives its descriptor (and name), or -1 with errno.
struct SaveOps {
  std::function<long(int fd, const char* data, std::size_t size)> write;
  std::function<int(int fd)> sync;
  std::function<int(const char* from, const char* to)> rename;
  std::function<int(const std::string& target, std::string& tempPath)> createTemp;
};

// How a save ended: `error` is 0 on success, else the errno of the step that
// failed.
struct SaveResult {
  int error = 0;
  explicit operator bool() const { return error == 0; }
};

// Stores the entries at `path`. Normally the file is replaced as a whole:
// the text goes to a new file beside it, reaches the disk, and only then
// takes the old file's name; owner, group, mode and extended attributes come
// from the old file where the process may set them. A file with several
// hard links, or one in a folder where no new file can be made, is
// overwritten in place instead, with its old bytes kept in memory and put
// back if the new ones do not all get written. A symbolic link is followed.
// On any failure the old file is as it was and no other file is left.
SaveResult WritePlaylistFile(const std::string& path, const std::vector<std::string>& entries,
                             const SaveOps& ops = {});
// The same for bytes already encoded (WritePlaylistFile writes those of
// EncodePlaylistText): other kinds of list are saved just as safely.
SaveResult WritePlaylistBytes(const std::string& path, std::string_view bytes, const SaveOps& ops = {});

// Reads the entries of the playlist file at `path` into `entries`. False,
// with `entries` untouched, when the file cannot be read (missing, not a
// regular file, unreadable, larger than kMaxPlaylistFileBytes). Nothing but
// a regular file is ever opened, so a named pipe cannot hold the caller.
// Where the encoding is in doubt, entries are looked up with stat only.
bool ReadPlaylistFile(const std::string& path, std::vector<std::string>& entries);
inline constexpr std::size_t kMaxPlaylistFileBytes = std::size_t(256) << 20;
// The whole file's bytes, read as ReadPlaylistFile reads them; false, with
// `bytes` untouched, where ReadPlaylistFile gives false.
bool ReadPlaylistBytes(const std::string& path, std::string& bytes);

// Appends the entries of a playlist file behind the track list. An
// unreadable file changes nothing and gives false.
bool AppendPlaylistFile(TrackList& tracks, const std::string& path);
// Writes the whole track list to `path` (see WritePlaylistFile), as M3U8
// when its name ends in ".m3u8" in any letter case (see WriteM3u8File).
SaveResult SavePlaylistFile(const TrackList& tracks, const std::string& path, const SaveOps& ops = {});

}  // namespace kestrafon
