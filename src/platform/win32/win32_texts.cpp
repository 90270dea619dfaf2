#include "platform/win32/win32_texts.h"

#include <windows.h>

#include "os/win32/wide_text.h"

namespace kestrafon::platform::win32 {

TextBook Win32TextBook() {
  return TextBook([module = GetModuleHandleW(nullptr)](UiText id) {
    // With no buffer, LoadStringW points at the text inside the resource.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, UINT(id), reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? os::Narrow(std::wstring(text, std::size_t(length))) : std::string();
  });
}

}  // namespace kestrafon::platform::win32
