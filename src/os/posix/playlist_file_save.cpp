// Saving a playlist file without ever losing the one it replaces.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "model/playlist_file.h"
#include "model/playlist_file_steps.h"

namespace kestrafon {
namespace {

using playlist_file_steps::Errno;
using playlist_file_steps::Sync;
using playlist_file_steps::WriteAll;

constexpr playlist_file_steps::FileCalls kSystem{
    [](const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); },
    [](int fd, const char* data, std::size_t size) { return long(::write(fd, data, size)); },
    ::fsync,
    ::close,
    ::rename,
    ::unlink,
    [] { return unsigned(::getpid()); },
    // Non-blocking, so a pipe swapped in cannot hold the save; a link is not followed here.
    [](const std::string& path) { return ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW); },
    [](int fd, char* to, std::size_t size) { return long(::read(fd, to, size)); },
    [](int fd) { return ::lseek(fd, 0, SEEK_SET) == 0 ? 0 : -1; },
    [](int fd, std::uint64_t size) { return ::ftruncate(fd, off_t(size)); }};

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

void SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // the rename reaching the disk; the file is complete either way
  ::close(fd);
}

// Extended attributes of the old file onto the new one, as far as allowed.
void CopyExtendedAttributes(const std::string& from, int to) {
  const ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
  if (size <= 0) return;
  std::string names(std::size_t(size), '\0');
  const ssize_t got = ::listxattr(from.c_str(), names.data(), names.size());
  if (got <= 0) return;
  names.resize(std::size_t(got));
  for (std::size_t at = 0; at < names.size();) {
    const std::string name = names.c_str() + at;
    at += name.size() + 1;
    const ssize_t length = ::getxattr(from.c_str(), name.c_str(), nullptr, 0);
    if (length < 0) continue;
    std::string value(std::size_t(length), '\0');
    const ssize_t read = ::getxattr(from.c_str(), name.c_str(), value.data(), value.size());
    if (read < 0) continue;
    ::fsetxattr(to, name.c_str(), value.data(), std::size_t(read), 0);  // best effort
  }
}

// The old file's owner, group, mode and extended attributes onto the new one.
void CopyIdentity(const std::string& from, const struct stat& old, int to) {
  // Owner first: changing it may clear the set-id bits the mode restores.
  if (::fchown(to, old.st_uid, old.st_gid) != 0) {
    ::fchown(to, uid_t(-1), old.st_gid);  // not permitted: at least the group, if ours
  }
  ::fchmod(to, old.st_mode & 07777);
  CopyExtendedAttributes(from, to);
}

// True when the process may open the file for writing (root included).
bool Writable(const std::string& target) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

}  // namespace

SaveResult WritePlaylistFile(const std::string& path, const std::vector<std::string>& entries, const SaveOps& ops) {
  return WritePlaylistBytes(path, EncodePlaylistText(entries), ops);
}

SaveResult WritePlaylistBytes(const std::string& path, std::string_view text, const SaveOps& ops) {
  if (path.empty()) return {ENOENT};
  const std::string target = ResolveTarget(path);
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (replacing && S_ISDIR(old.st_mode)) return {EISDIR};  // never replace a directory
  if (replacing && !S_ISREG(old.st_mode)) return {EINVAL};  // nor a pipe or a device

  // Replacing one of several links would split them: the others would keep the old list.
  if (replacing && old.st_nlink > 1) return {playlist_file_steps::OverwriteInPlace(ops, kSystem, target, text)};

  std::string temp;
  const int fd = playlist_file_steps::CreateTemp(ops, kSystem, target, temp);
  if (fd < 0) {
    const int error = Errno();
    // A writable file in a folder that takes no new files is overwritten instead.
    if (replacing && Writable(target)) return {playlist_file_steps::OverwriteInPlace(ops, kSystem, target, text)};
    return {error};
  }
  if (replacing) CopyIdentity(target, old, fd);
  const int error = playlist_file_steps::MoveTempOver(ops, kSystem, fd, temp, target, text);
  if (error == 0) SyncDirectory(DirectoryOf(target));
  return {error};
}

}  // namespace kestrafon
