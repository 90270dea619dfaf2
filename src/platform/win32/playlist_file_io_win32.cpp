// Playlist file input and output on Windows: the same bytes as on Linux
// (EncodePlaylistText), paths as UTF-16 at the system calls, and the same
// replace-as-a-whole save: a new file beside the old one, flushed to the
// disk, then moved over it.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <random>

#include "platform/win32/wide_text.h"
#include "model/playlist_file.h"

namespace kestrafon {
namespace {

using platform::win32::Widen;

long SystemWrite(int fd, const char* data, std::size_t size) {
  const unsigned chunk = size > (1u << 30) ? (1u << 30) : unsigned(size);
  return long(::_write(fd, data, chunk));
}
int SystemSync(int fd) { return ::_commit(fd); }
int SystemRename(const char* from, const char* to) {
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  return MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), flags) ? 0 : -1;
}

// Each step gives 0 or the error number that stopped it.
int Errno() { return errno != 0 ? errno : EIO; }

int WriteAll(const SaveOps& ops, int fd, std::string_view data) {
  while (!data.empty()) {
    errno = 0;
    const long n = ops.write ? ops.write(fd, data.data(), data.size()) : SystemWrite(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Errno();
    if (n == 0) return ENOSPC;
    data.remove_prefix(std::size_t(n));
  }
  return 0;
}

// Whether an entry names something on disk; looking never opens it.
bool ExistsOnDisk(const std::string& path) {
  return !path.empty() && GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Creates a new, empty file beside `target` with a name nobody else uses.
int CreateTemp(const std::string& target, std::string& tempPath) {
  std::minstd_rand random(unsigned(GetCurrentProcessId()) ^ unsigned(std::hash<std::string>{}(target)));
  try {
    random.seed(std::random_device{}());
  } catch (...) {
    // no entropy source: the pid-based seed will do, O_EXCL keeps names apart
  }
  for (int attempt = 0; attempt < 64; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", unsigned(random()));
    tempPath = target + suffix;
    const int fd = ::_wopen(Widen(tempPath).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                            _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool IsPlainFile(DWORD attributes) {
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace

SaveResult WritePlaylistFile(const std::string& path, const std::vector<std::string>& entries, const SaveOps& ops) {
  if (path.empty()) return {ENOENT};
  const DWORD old = GetFileAttributesW(Widen(path).c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_DIRECTORY)) return {EISDIR};  // never replace a directory
  if (old != INVALID_FILE_ATTRIBUTES && !IsPlainFile(old)) return {EINVAL};  // nor a device

  const std::string text = EncodePlaylistText(entries);
  std::string temp;
  errno = 0;
  const int fd = ops.createTemp ? ops.createTemp(path, temp) : CreateTemp(path, temp);
  if (fd < 0) return {Errno()};

  int error = WriteAll(ops, fd, text);
  if (error == 0) {
    errno = 0;
    if ((ops.sync ? ops.sync(fd) : SystemSync(fd)) != 0) error = Errno();
  }
  if (::_close(fd) != 0 && error == 0) error = Errno();
  if (error == 0) {
    errno = 0;
    if ((ops.rename ? ops.rename(temp.c_str(), path.c_str()) : SystemRename(temp.c_str(), path.c_str())) != 0)
      error = errno != 0 ? errno : EACCES;
  }
  if (error != 0) ::_wunlink(Widen(temp).c_str());
  return {error};
}

bool ReadPlaylistFile(const std::string& path, std::vector<std::string>& entries) {
  const std::wstring wide = Widen(path);
  // Looked at before opening, so that a pipe or a device is never opened.
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES || !IsPlainFile(attributes)) return false;
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
      std::size_t(size.QuadPart) > kMaxPlaylistFileBytes) {
    CloseHandle(file);
    return false;
  }
  std::string bytes(std::size_t(size.QuadPart), '\0');
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
    DWORD n = 0;
    if (!ReadFile(file, bytes.data() + have, DWORD(bytes.size() - have), &n, nullptr)) {
      ok = false;
      break;
    }
    if (n == 0) break;
    have += n;
  }
  CloseHandle(file);
  if (!ok) return false;
  bytes.resize(have);
  entries = ParsePlaylistText(bytes, ExistsOnDisk);
  return true;
}

}  // namespace kestrafon
