#include "model/playlist_file_steps.h"

#include <cerrno>
#include <cstdio>
#include <random>

namespace kestrafon::playlist_file_steps {

int Errno() { return errno != 0 ? errno : EIO; }

bool ReadToEnd(std::size_t size, const ReadChunk& read, std::string& bytes) {
  if (size > kMaxPlaylistFileBytes) return false;
  bytes.assign(size, '\0');
  std::size_t have = 0;
  while (true) {
    if (have == bytes.size()) {
      if (bytes.size() > kMaxPlaylistFileBytes) return false;  // grew while being read
      bytes.resize(bytes.size() + 4096);
    }
    errno = 0;
    const long n = read(bytes.data() + have, bytes.size() - have);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    have += std::size_t(n);
  }
  bytes.resize(have);
  return true;
}

int WriteAll(const SaveOps& ops, const FileCalls& calls, int fd, std::string_view data) {
  while (!data.empty()) {
    errno = 0;
    const long n = ops.write ? ops.write(fd, data.data(), data.size()) : calls.write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Errno();
    if (n == 0) return ENOSPC;
    data.remove_prefix(std::size_t(n));
  }
  return 0;
}

int Sync(const SaveOps& ops, const FileCalls& calls, int fd) {
  errno = 0;
  return (ops.sync ? ops.sync(fd) : calls.sync(fd)) == 0 ? 0 : Errno();
}

namespace {

int CreateUniquelyNamed(const FileCalls& calls, const std::string& target, std::string& tempPath) {
  std::minstd_rand random(calls.processId() ^ unsigned(std::hash<std::string>{}(target)));
  try {
    random.seed(std::random_device{}());
  } catch (...) {
    // no entropy source: the pid-based seed will do, the exclusive open keeps names apart
  }
  for (int attempt = 0; attempt < 64; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", unsigned(random()));
    tempPath = target + suffix;
    const int fd = calls.openNew(tempPath);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

int CreateTemp(const SaveOps& ops, const FileCalls& calls, const std::string& target, std::string& tempPath) {
  errno = 0;
  return ops.createTemp ? ops.createTemp(target, tempPath) : CreateUniquelyNamed(calls, target, tempPath);
}

int MoveTempOver(const SaveOps& ops, const FileCalls& calls, int fd, const std::string& temp,
                 const std::string& target, std::string_view text) {
  int error = WriteAll(ops, calls, fd, text);
  if (error == 0) error = Sync(ops, calls, fd);
  if (calls.close(fd) != 0 && error == 0) error = Errno();
  if (error == 0) {
    errno = 0;
    const int moved = ops.rename ? ops.rename(temp.c_str(), target.c_str()) : calls.rename(temp.c_str(), target.c_str());
    if (moved != 0) error = Errno();
  }
  if (error != 0) calls.unlink(temp.c_str());
  return error;
}

int OverwriteInPlace(const SaveOps& ops, const FileCalls& calls, const std::string& target, std::string_view text) {
  errno = 0;
  const int fd = calls.openExisting(target);
  if (fd < 0) return Errno();
  std::string oldBytes;
  errno = 0;
  int error = 0;
  if (!ReadToEnd(0, [&](char* to, std::size_t room) { return calls.read(fd, to, room); }, oldBytes))
    error = errno != 0 ? errno : EFBIG;
  if (error == 0 && calls.rewind(fd) != 0) error = Errno();
  const bool touched = error == 0;  // from here on the file may hold new bytes
  if (error == 0) error = WriteAll(ops, calls, fd, text);
  if (error == 0 && text.size() < oldBytes.size() && calls.truncate(fd, text.size()) != 0) error = Errno();
  if (error == 0) error = Sync(ops, calls, fd);
  if (error != 0 && touched) {
    // Put the old list back: the same bytes over the same blocks, then its length.
    if (calls.rewind(fd) == 0 && WriteAll({}, calls, fd, oldBytes) == 0 && calls.truncate(fd, oldBytes.size()) == 0)
      calls.sync(fd);
  }
  if (calls.close(fd) != 0 && error == 0) error = Errno();
  return error;
}

}  // namespace kestrafon::playlist_file_steps
