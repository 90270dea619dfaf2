#include "os/win32/wide_text.h"

#include <windows.h>

namespace kestrafon::os {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring out(std::size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), int(utf16.size()), nullptr, 0, nullptr, nullptr);
  std::string out(std::size_t(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, utf16.data(), int(utf16.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring WidenPath(std::string_view utf8) {
  std::wstring wide = Widen(utf8);
  // Below this a temporary name beside the file (13 characters more) still
  // fits the classic limit.
  constexpr std::size_t kRoomForTempName = MAX_PATH - 14;
  if (wide.size() < kRoomForTempName || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  for (wchar_t& c : wide)
    if (c == L'/') c = L'\\';
  const bool drive = wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\';
  if (drive) return L"\\\\?\\" + wide;
  if (wide.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + wide.substr(2);
  return wide;  // relative: the long form cannot say it
}

}  // namespace kestrafon::os
