#pragma once
// UTF-8 inside the program, UTF-16 at every Win32 call: names outside the
// ANSI code page must still open.
#include <string>
#include <string_view>

namespace kestrafon::os {

// Malformed UTF-8 becomes U+FFFD, like the system's own conversion.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace kestrafon::os
