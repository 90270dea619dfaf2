#include "model/local_files.h"

#include <windows.h>

#include <cstdint>

#include "os/win32/wide_text.h"

namespace kestrafon::os {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "C:\..." or "\\server\...": complete without a current folder.
bool IsFullyQualified(const std::string& path) {
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return true;
  return path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]);
}

}  // namespace

FileState ProbeFile(const std::string& path) {
  const std::wstring wide = WidenPath(path);
  const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return FileState::Missing;
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return FileState::NotAFile;
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FileState::Unreadable;
  CloseHandle(file);
  return FileState::Readable;
}

std::string AbsolutePath(const std::string& path, const std::string& folder) {
  std::string joined;
  if (IsFullyQualified(path)) {
    joined = path;
  } else if (!path.empty() && IsSeparator(path[0])) {
    joined = folder.substr(0, 2) + path;  // "\Music\a.mp3": on the folder's drive
  } else {
    joined = folder + "\\" + path;
  }
  // GetFullPathNameW tidies the steps without looking at the disk; its
  // wide form takes paths past 260 characters as they are.
  const std::wstring wide = Widen(joined);
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return joined;
  std::wstring full(size, L'\0');
  const DWORD written = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (written == 0 || written >= size) return joined;
  full.resize(written);
  return Narrow(full);
}

std::string CurrentFolder() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return {};
  std::wstring folder(size, L'\0');
  const DWORD written = GetCurrentDirectoryW(size, folder.data());
  if (written == 0 || written >= size) return {};
  folder.resize(written);
  return Narrow(folder);
}

std::string SettingsFolder() {
  const DWORD size = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
  if (size == 0) return {};
  std::wstring folder(size, L'\0');
  const DWORD written = GetEnvironmentVariableW(L"APPDATA", folder.data(), size);
  if (written == 0 || written >= size) return {};
  folder.resize(written);
  return Narrow(folder) + "\\Kestrafon\\";
}

std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t maxBytes) {
  HANDLE file = CreateFileW(WidenPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> bytes;
  LARGE_INTEGER size{};
  if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && std::uint64_t(size.QuadPart) <= maxBytes) {
    std::string read(std::size_t(size.QuadPart), '\0');
    DWORD got = 0;
    if (read.empty() || ReadFile(file, read.data(), DWORD(read.size()), &got, nullptr)) {
      read.resize(got);
      bytes = std::move(read);
    }
  }
  CloseHandle(file);
  return bytes;
}

}  // namespace kestrafon::os
