#pragma once
// The open and save dialogs through the wide common-dialog calls
// (GetOpenFileNameW, GetSaveFileNameW), so names outside the ANSI code page
// come back intact, with room for hundreds of selected files; and message
// boxes.
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace kestrafon::platform::win32 {

// Characters of the selection buffer: room for several hundred full names.
inline constexpr std::size_t kSelectionBufferChars = 65536;

// "description|*.a;*.b|description|*.c" as the dialog's filter list: each
// string ended by a NUL, the list by a second one.
std::wstring FilterList(std::string_view filter);
// The default extension as the dialog takes it: without the leading dot.
std::wstring DefaultExtension(std::string_view extension);
// The dialog's answer (one full path, or the directory and the names, each
// ended by a NUL, the whole by a second NUL) as the core's selection text:
// UTF-8, parts separated by single NULs.
std::string SelectionText(const wchar_t* buffer, std::size_t size);
// The flags of each dialog.
DWORD OpenFlags(const FileDialogRequest& request);
DWORD SaveFlags(const FileDialogRequest& request);

class Win32FileDialogs final : public FileDialogs {
 public:
  std::optional<std::string> ShowOpen(const FileDialogRequest& request) override;
  std::optional<std::string> ShowSave(const FileDialogRequest& request) override;
  void ShowMessage(const std::string& title, const std::string& text) override;
};

}  // namespace kestrafon::platform::win32
