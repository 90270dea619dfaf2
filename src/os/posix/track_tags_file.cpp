// Reads a file's first and last bytes for its tags.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "model/track_tags.h"

namespace kestrafon {
namespace {

// `size` bytes from `offset`, fewer when the file ends or a read fails.
std::string ReadAt(int fd, std::size_t offset, std::size_t size) {
  std::string bytes(size, '\0');
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, bytes.data() + done, size - done, off_t(offset + done));
    if (n <= 0) break;
    done += std::size_t(n);
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace

TrackTags ReadTrackTagsOfFile(const std::string& path) {
  struct stat before {};
  if (path.empty() || ::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) return {};
  // Non-blocking: a named pipe put in the file's place after the look is
  // refused below, not waited on.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return {};
  struct stat st {};
  TrackTags tags;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    const std::size_t size = std::size_t(st.st_size);
    const std::string head = ReadAt(fd, 0, std::min(size, kTagHeadBytes));
    const std::size_t tailBytes = std::min(size, kTagTailBytes);
    const std::string tail = ReadAt(fd, size - tailBytes, tailBytes);
    tags = ReadTrackTags(head, tail);
  }
  ::close(fd);
  return tags;
}

}  // namespace kestrafon
