#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "model/playlist_file.h"

namespace kestrafon {
namespace {

// Whether an entry names something on disk. stat only: looking never opens
// a file, so a named pipe in the list cannot hold the reader.
bool ExistsOnDisk(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

}  // namespace

bool ReadPlaylistFile(const std::string& path, std::vector<std::string>& entries) {
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) return false;
  // Non-blocking all the same: the file may be swapped for a named pipe
  // between the look and the open; that is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || std::size_t(st.st_size) > kMaxPlaylistFileBytes) {
    ::close(fd);
    return false;
  }
  std::string bytes(std::size_t(st.st_size), '\0');
  std::size_t have = 0;
  bool ok = true;
  while (true) {
    if (have == bytes.size()) {
      if (bytes.size() > kMaxPlaylistFileBytes) {  // grew while being read
        ok = false;
        break;
      }
      bytes.resize(bytes.size() + 4096);
    }
    const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    have += std::size_t(n);
  }
  ::close(fd);
  if (!ok) return false;
  bytes.resize(have);
  entries = ParsePlaylistText(bytes, ExistsOnDisk);
  return true;
}

}  // namespace kestrafon
