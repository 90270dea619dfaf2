// Playlist file input and output on Windows: the same bytes as on Linux
// (EncodePlaylistText), paths as UTF-16 at the system calls (in the long
// form past 260 characters), and the same saves: normally a new file beside
// the old one, flushed to the disk, then put in its place by ReplaceFileW,
// which keeps the old file's security, attributes and streams; in place when
// the file has several hard links or its folder takes no new file.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

#include "model/playlist_file.h"
#include "model/playlist_file_steps.h"
#include "os/win32/wide_text.h"
#include "os/win32/windows_error.h"

namespace kestrafon {
namespace {

using os::WidenPath;

int OpenNew(const std::string& path) {
  return ::_wopen(WidenPath(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}
int OpenExisting(const std::string& path) {
  return ::_wopen(WidenPath(path).c_str(), _O_RDWR | _O_BINARY | _O_NOINHERIT);
}
long SystemWrite(int fd, const char* data, std::size_t size) {
  const unsigned chunk = size > (1u << 30) ? (1u << 30) : unsigned(size);
  return long(::_write(fd, data, chunk));
}
long SystemRead(int fd, char* to, std::size_t size) {
  const unsigned chunk = size > (1u << 30) ? (1u << 30) : unsigned(size);
  return long(::_read(fd, to, chunk));
}

// Puts the new file in the old one's place: ReplaceFileW where there is an
// old file (its ACL, attributes and alternate streams stay), a move where
// there is none. Sets errno from the system's reason.
int SystemRename(const char* from, const char* to) {
  const std::wstring source = WidenPath(from), target = WidenPath(to);
  BOOL done = FALSE;
  if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
    // A file another program holds cannot be replaced: say so before the
    // replace starts (a failed one may leave a file of its own behind).
    HANDLE probe = CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
      errno = os::ErrnoFromWindowsError(GetLastError());
      return -1;
    }
    CloseHandle(probe);
    done = ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    // Some file systems take no replace; a plain move still keeps the list.
    if (!done && GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT)
      done = MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  } else {
    done = MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  }
  if (done) return 0;
  errno = os::ErrnoFromWindowsError(GetLastError());
  return -1;
}
int SystemUnlink(const char* path) { return ::_wunlink(WidenPath(path).c_str()); }
// Playlist files stay far below 2 GiB (the reader takes 256 MiB at most).
int SystemTruncate(int fd, std::uint64_t size) { return ::_chsize(fd, long(size)) == 0 ? 0 : -1; }

constexpr playlist_file_steps::FileCalls kSystem{
    OpenNew,
    SystemWrite,
    [](int fd) { return ::_commit(fd); },
    [](int fd) { return ::_close(fd); },
    SystemRename,
    SystemUnlink,
    [] { return unsigned(GetCurrentProcessId()); },
    OpenExisting,
    SystemRead,
    [](int fd) { return ::_lseeki64(fd, 0, SEEK_SET) == 0 ? 0 : -1; },
    SystemTruncate};

// Whether an entry names something on disk; looking never opens it.
bool ExistsOnDisk(const std::string& path) {
  return !path.empty() && GetFileAttributesW(WidenPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsPlainFile(DWORD attributes) {
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

// How many names the file has; 1 when that cannot be told.
DWORD LinkCount(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  BY_HANDLE_FILE_INFORMATION info{};
  const DWORD links = GetFileInformationByHandle(file, &info) ? info.nNumberOfLinks : 1;
  CloseHandle(file);
  return links;
}

// True when the file can be opened for writing.
bool Writable(const std::string& path) {
  const int fd = OpenExisting(path);
  if (fd < 0) return false;
  ::_close(fd);
  return true;
}

}  // namespace

SaveResult WritePlaylistFile(const std::string& path, const std::vector<std::string>& entries, const SaveOps& ops) {
  return WritePlaylistBytes(path, EncodePlaylistText(entries), ops);
}

SaveResult WritePlaylistBytes(const std::string& path, std::string_view text, const SaveOps& ops) {
  if (path.empty()) return {ENOENT};
  const std::wstring wide = WidenPath(path);
  const DWORD old = GetFileAttributesW(wide.c_str());
  const bool replacing = old != INVALID_FILE_ATTRIBUTES;
  if (replacing && (old & FILE_ATTRIBUTE_DIRECTORY)) return {EISDIR};  // never replace a directory
  if (replacing && !IsPlainFile(old)) return {EINVAL};  // nor a device

  // Replacing one of several links would split them: the others would keep the old list.
  if (replacing && LinkCount(wide) > 1) return {playlist_file_steps::OverwriteInPlace(ops, kSystem, path, text)};

  std::string temp;
  const int fd = playlist_file_steps::CreateTemp(ops, kSystem, path, temp);
  if (fd < 0) {
    const int error = playlist_file_steps::Errno();
    // A writable file in a folder that takes no new files is overwritten instead.
    if (replacing && Writable(path)) return {playlist_file_steps::OverwriteInPlace(ops, kSystem, path, text)};
    return {error};
  }
  return {playlist_file_steps::MoveTempOver(ops, kSystem, fd, temp, path, text)};
}

bool ReadPlaylistBytes(const std::string& path, std::string& bytes) {
  const std::wstring wide = WidenPath(path);
  // Looked at before opening, so that a pipe or a device is never opened.
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES || !IsPlainFile(attributes)) return false;
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  std::string read;
  const bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
                  playlist_file_steps::ReadToEnd(std::size_t(size.QuadPart), [file](char* to, std::size_t room) {
                    DWORD n = 0;
                    return ReadFile(file, to, DWORD(room), &n, nullptr) ? long(n) : -1L;
                  }, read);
  CloseHandle(file);
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
