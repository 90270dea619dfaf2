#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>

#include "model/playlist_file.h"

namespace kestrafon {
namespace {

long SystemWrite(int fd, const char* data, std::size_t size) { return long(::write(fd, data, size)); }
int SystemSync(int fd) { return ::fsync(fd); }
int SystemRename(const char* from, const char* to) { return ::rename(from, to); }

bool WriteAll(const SaveOps& ops, int fd, std::string_view data) {
  while (!data.empty()) {
    const long n = ops.write ? ops.write(fd, data.data(), data.size()) : SystemWrite(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(std::size_t(n));
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A symbolic link is followed, so the save replaces the file it points to
// and the link stays.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// Creates a new, empty file beside `target` with a name nobody else uses.
int CreateTemp(const std::string& target, std::string& tempPath) {
  std::minstd_rand random(unsigned(::getpid()) ^ unsigned(std::hash<std::string>{}(target)));
  try {
    random.seed(std::random_device{}());
  } catch (...) {
    // no entropy source: the pid-based seed will do, O_EXCL keeps names apart
  }
  for (int attempt = 0; attempt < 64; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", unsigned(random()));
    tempPath = target + suffix;
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // the rename reaching the disk; the file is complete either way
  ::close(fd);
}

}  // namespace

bool WritePlaylistFile(const std::string& path, const std::vector<std::string>& entries, const SaveOps& ops) {
  if (path.empty()) return false;
  const std::string target = ResolveTarget(path);
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (replacing && !S_ISREG(old.st_mode)) return false;  // never replace a directory or a device

  const std::string text = EncodePlaylistText(entries);
  std::string temp;
  const int fd = CreateTemp(target, temp);
  if (fd < 0) return false;
  if (replacing) ::fchmod(fd, old.st_mode & 07777);  // the new file keeps the old one's permissions

  bool ok = WriteAll(ops, fd, text);
  ok = ok && (ops.sync ? ops.sync(fd) : SystemSync(fd)) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && (ops.rename ? ops.rename(temp.c_str(), target.c_str()) : SystemRename(temp.c_str(), target.c_str())) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncDirectory(DirectoryOf(target));
  return true;
}

bool ReadPlaylistFile(const std::string& path, std::vector<std::string>& entries) {
  // Non-blocking, so that a named pipe cannot hold the open; it is refused below.
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
  entries = ParsePlaylistText(bytes);
  return true;
}

}  // namespace kestrafon
