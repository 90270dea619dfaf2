// Reads a file's first and last bytes for its tags, by UTF-16 path.
#include <windows.h>

#include <algorithm>

#include "model/track_tags.h"
#include "os/win32/wide_text.h"

namespace kestrafon {
namespace {

// `size` bytes from `offset`, fewer when the file ends or a read fails.
std::string ReadAt(HANDLE file, std::uint64_t offset, std::size_t size) {
  std::string bytes(size, '\0');
  std::size_t done = 0;
  while (done < size) {
    OVERLAPPED at{};
    at.Offset = DWORD(offset + done);
    at.OffsetHigh = DWORD((offset + done) >> 32);
    DWORD n = 0;
    if (!ReadFile(file, bytes.data() + done, DWORD(size - done), &n, &at) || n == 0) break;
    done += n;
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace

TrackTags ReadTrackTagsOfFile(const std::string& path) {
  const std::wstring wide = os::WidenPath(path);
  // Looked at before opening, so that a pipe or a device is never opened.
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE))) {
    return {};
  }
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  LARGE_INTEGER size{};
  TrackTags tags;
  if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart > 0) {
    const std::uint64_t bytes = std::uint64_t(size.QuadPart);
    const std::string head = ReadAt(file, 0, std::size_t(std::min<std::uint64_t>(bytes, kTagHeadBytes)));
    const std::size_t tailBytes = std::size_t(std::min<std::uint64_t>(bytes, kTagTailBytes));
    const std::string tail = ReadAt(file, bytes - tailBytes, tailBytes);
    tags = ReadTrackTags(head, tail);
  }
  CloseHandle(file);
  return tags;
}

}  // namespace kestrafon
