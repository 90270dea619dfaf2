#pragma once
// UTF-8 inside the program, UTF-16 at every Win32 call: names outside the
// ANSI code page must still open.
#include <string>
#include <string_view>

namespace kestrafon::os {

// Malformed UTF-8 becomes U+FFFD, like the system's own conversion.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// A path for the file calls: UTF-16, and, when it is long, in the form that
// takes paths past 260 characters ("\\?\C:\...", "\\?\UNC\server\...").
// Short and relative paths are only widened.
std::wstring WidenPath(std::string_view utf8);

}  // namespace kestrafon::os
