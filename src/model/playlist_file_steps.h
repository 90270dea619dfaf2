#pragma once
// The steps of reading and saving a playlist file that are the same on every
// system, written over the few file calls each system fills in.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/playlist_file.h"

namespace kestrafon::playlist_file_steps {

// The system's own calls for a save. Each gives 0 (or a descriptor, or a
// byte count) on success, else -1 with errno set.
struct FileCalls {
  int (*openNew)(const std::string& path);  // a file that must not exist yet, for writing
  long (*write)(int fd, const char* data, std::size_t size);
  int (*sync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);  // over the file `to`, if any
  int (*unlink)(const char* path);
  unsigned (*processId)();
  // For writing a file in place: open it (never create it) for reading and
  // writing, read on from where it stands, go back to its start, cut it.
  int (*openExisting)(const std::string& path);
  long (*read)(int fd, char* to, std::size_t size);
  int (*rewind)(int fd);
  int (*truncate)(int fd, std::uint64_t size);
};

// The errno of the step that just failed; EIO when the step left none.
int Errno();

// Reads an open regular file to its end through `read` (bytes read, 0 at
// the end, -1 with errno on failure), starting with room for the `size` it
// had when opened. False when reading fails or the file holds more than
// kMaxPlaylistFileBytes, also if it grew past that while being read.
using ReadChunk = std::function<long(char* to, std::size_t room)>;
bool ReadToEnd(std::size_t size, const ReadChunk& read, std::string& bytes);

// Each gives 0 or the errno that stopped it; a member of `ops` that is set
// stands in for the system's call.
int WriteAll(const SaveOps& ops, const FileCalls& calls, int fd, std::string_view data);
int Sync(const SaveOps& ops, const FileCalls& calls, int fd);

// A new, empty file beside `target` with a name nobody else uses: its
// descriptor (and name in `tempPath`), or -1 with errno.
int CreateTemp(const SaveOps& ops, const FileCalls& calls, const std::string& target, std::string& tempPath);

// Writes `text` to the new file `fd` named `temp`, puts it on the disk,
// closes it and moves it over `target`. On any failure the new file is
// removed and `target` is as it was.
int MoveTempOver(const SaveOps& ops, const FileCalls& calls, int fd, const std::string& temp,
                 const std::string& target, std::string_view text);

// Overwrites the file itself, so its links, owner and attributes stay. The
// old bytes are held in memory and written back over the same blocks when
// the new ones do not all get written, so a full disk cannot cost the old
// list. 0 or the errno that stopped it.
int OverwriteInPlace(const SaveOps& ops, const FileCalls& calls, const std::string& target, std::string_view text);

}  // namespace kestrafon::playlist_file_steps
