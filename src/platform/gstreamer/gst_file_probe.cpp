#include "platform/gstreamer/gst_file_probe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <glib.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <span>

#include "audio/mp3_frame_scan.h"

namespace kestrafon::platform::gst {
namespace {

// Larger files are not scanned: walking them would take seconds (a 256 MiB
// MP3 plays for hours at the usual bit rates).
constexpr std::size_t kMaxScannedBytes = std::size_t(256) << 20;

// Opens `path` for reading only when it is a regular file. Looked at with
// stat first, and opened non-blocking, so neither a named pipe nor one swapped
// in between can hold the caller; a directory or device is refused too.
int OpenRegularFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The open file, closed when it goes out of scope.
struct OpenFile {
  explicit OpenFile(const std::string& path) : fd(OpenRegularFile(path)) {}
  ~OpenFile() {
    if (fd >= 0) ::close(fd);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  const int fd;
};

// The length of an MPEG audio file by counting its frames; 0 when unknown.
double ScanFileSeconds(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || std::size_t(st.st_size) > kMaxScannedBytes) return 0.0;
  GMappedFile* file = g_mapped_file_new_from_fd(fd, FALSE, nullptr);
  if (!file) return 0.0;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(g_mapped_file_get_contents(file));
  const std::size_t length = g_mapped_file_get_length(file);
  double seconds = 0.0;
  if (bytes && length > 0) seconds = mp3::ScanMp3Frames(std::span(bytes, length)).Seconds();
  g_mapped_file_unref(file);
  return seconds;
}

// What the first and last bytes of the open file say. An APE tag leaves the
// file to decodebin, which strips it.
Mp3Start SniffMp3(int fd) {
  struct stat info {};
  std::array<std::uint8_t, mp3::kMp3ProbeBytes> head{};
  if (fstat(fd, &info) != 0) return Mp3Start::kNotMp3;
  const ssize_t tagRead = pread(fd, head.data(), 10, 0);
  const std::size_t tag = tagRead == 10 ? mp3::Id3v2TagSize(std::span(head.data(), 10)) : 0;
  const ssize_t got = pread(fd, head.data(), head.size(), static_cast<off_t>(tag));
  std::array<char, 160> tail{};
  const off_t tailSize = static_cast<off_t>(tail.size());
  const off_t tailAt = info.st_size > tailSize ? info.st_size - tailSize : 0;
  const ssize_t tailRead = pread(fd, tail.data(), tail.size(), tailAt);
  const bool ape = tailRead >= 32 && (std::memcmp(tail.data() + tailRead - 32, "APETAGEX", 8) == 0 ||
                                      (tailRead >= 160 && std::memcmp(tail.data(), "APETAGEX", 8) == 0));
  const bool id3v1 = tailRead >= 128 && std::memcmp(tail.data() + tailRead - 128, "TAG", 3) == 0;
  if (got <= 0 || ape || !mp3::StartsWithMp3Frames(std::span(head.data(), static_cast<std::size_t>(got)))) {
    return Mp3Start::kNotMp3;
  }
  return tag > 0 || id3v1 ? Mp3Start::kTagged : Mp3Start::kPlain;
}

}  // namespace

FileProbe ProbeFile(const std::string& path, bool countFrames) {
  FileProbe probe;
  const OpenFile file(path);
  if (file.fd < 0) return probe;
  probe.opened = true;
  probe.start = SniffMp3(file.fd);
  if (countFrames) probe.frameSeconds = ScanFileSeconds(file.fd);
  return probe;
}

}  // namespace kestrafon::platform::gst
