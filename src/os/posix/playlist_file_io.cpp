#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/playlist_file.h"
#include "model/playlist_file_steps.h"

namespace kestrafon {
namespace {

// Whether an entry names something on disk. stat only: looking never opens
// a file, so a named pipe in the list cannot hold the reader.
bool ExistsOnDisk(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

}  // namespace

bool ReadPlaylistBytes(const std::string& path, std::string& bytes) {
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) return false;
  // Non-blocking all the same: the file may be swapped for a named pipe
  // between the look and the open; that is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  std::string read;
  const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                  playlist_file_steps::ReadToEnd(std::size_t(st.st_size), [fd](char* to, std::size_t room) {
                    return long(::read(fd, to, room));
                  }, read);
  ::close(fd);
  if (ok) bytes = std::move(read);
  return ok;
}

bool ReadPlaylistFile(const std::string& path, std::vector<std::string>& entries) {
  std::string bytes;
  if (!ReadPlaylistBytes(path, bytes)) return false;
  entries = ParsePlaylistText(bytes, ExistsOnDisk);
  return true;
}

}  // namespace kestrafon
