// Playlist file input and output on Windows: the same bytes as on Linux
// (EncodePlaylistText), paths as UTF-16 at the system calls, and the same
// replace-as-a-whole save: a new file beside the old one, flushed to the
// disk, then moved over it.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

#include "model/playlist_file.h"
#include "model/playlist_file_steps.h"
#include "os/win32/wide_text.h"

namespace kestrafon {
namespace {

using os::Widen;

int OpenNew(const std::string& path) {
  return ::_wopen(Widen(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}
long SystemWrite(int fd, const char* data, std::size_t size) {
  const unsigned chunk = size > (1u << 30) ? (1u << 30) : unsigned(size);
  return long(::_write(fd, data, chunk));
}
int SystemRename(const char* from, const char* to) {
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), flags)) return 0;
  errno = EACCES;  // the move sets no errno of its own
  return -1;
}
int SystemUnlink(const char* path) { return ::_wunlink(Widen(path).c_str()); }

constexpr playlist_file_steps::FileCalls kSystem{
    OpenNew, SystemWrite, [](int fd) { return ::_commit(fd); }, [](int fd) { return ::_close(fd); }, SystemRename,
    SystemUnlink, [] { return unsigned(GetCurrentProcessId()); }};

// Whether an entry names something on disk; looking never opens it.
bool ExistsOnDisk(const std::string& path) {
  return !path.empty() && GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
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
  const int fd = playlist_file_steps::CreateTemp(ops, kSystem, path, temp);
  if (fd < 0) return {playlist_file_steps::Errno()};
  return {playlist_file_steps::MoveTempOver(ops, kSystem, fd, temp, path, text)};
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
  std::string bytes;
  const bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
                  playlist_file_steps::ReadToEnd(std::size_t(size.QuadPart), [file](char* to, std::size_t room) {
                    DWORD n = 0;
                    return ReadFile(file, to, DWORD(room), &n, nullptr) ? long(n) : -1L;
                  }, bytes);
  CloseHandle(file);
  if (ok) entries = ParsePlaylistText(bytes, ExistsOnDisk);
  return ok;
}

}  // namespace kestrafon
