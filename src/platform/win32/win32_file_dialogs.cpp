#include "platform/win32/win32_file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "platform/win32/wide_text.h"

namespace kestrafon::platform::win32 {

std::wstring FilterList(std::string_view filter) {
  std::wstring list = Widen(filter);
  for (wchar_t& c : list) {
    if (c == L'|') c = L'\0';
  }
  list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

std::wstring DefaultExtension(std::string_view extension) {
  if (!extension.empty() && extension.front() == '.') extension.remove_prefix(1);
  return Widen(extension);
}

std::string SelectionText(const wchar_t* buffer, std::size_t size) {
  // Up to the first pair of NULs (or the end of the buffer).
  std::size_t end = 0;
  while (end < size && !(buffer[end] == L'\0' && (end + 1 >= size || buffer[end + 1] == L'\0'))) ++end;
  std::string text;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= end; ++i) {
    if (i == end || buffer[i] == L'\0') {
      if (start > 0) text.push_back('\0');
      text += Narrow(std::wstring_view(buffer + start, i - start));
      start = i + 1;
    }
  }
  return text;
}

DWORD OpenFlags(const FileDialogRequest& request) {
  // No must-exist flags: a typed name that does not exist comes back too.
  DWORD flags = OFN_LONGNAMES | OFN_EXPLORER | OFN_HIDEREADONLY;
  if (request.allowMultiple) flags |= OFN_ALLOWMULTISELECT;
  if (request.promptOverwrite) flags |= OFN_OVERWRITEPROMPT;
  return flags;
}

DWORD SaveFlags(const FileDialogRequest& request) {
  return request.promptOverwrite ? OFN_OVERWRITEPROMPT : 0;
}

namespace {

std::optional<std::string> Run(const FileDialogRequest& request, bool save) {
  std::vector<wchar_t> buffer(kSelectionBufferChars, L'\0');
  const std::wstring filter = FilterList(request.filter);
  const std::wstring title = Widen(request.title);
  const std::wstring extension = DefaultExtension(request.defaultExtension);
  const std::wstring directory = Widen(request.initialDirectory);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();  // the window whose button asked
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = DWORD(buffer.size());
  ofn.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = save ? SaveFlags(request) : OpenFlags(request);
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  // A failure (a selection too long even for this buffer) counts as a cancel.
  const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!chosen) return std::nullopt;
  if (save) return Narrow(buffer.data());
  return SelectionText(buffer.data(), buffer.size());
}

}  // namespace

std::optional<std::string> Win32FileDialogs::ShowOpen(const FileDialogRequest& request) { return Run(request, false); }

std::optional<std::string> Win32FileDialogs::ShowSave(const FileDialogRequest& request) { return Run(request, true); }

void Win32FileDialogs::ShowMessage(const std::string& title, const std::string& text) {
  MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Widen(title).c_str(), MB_OK | MB_ICONWARNING);
}

}  // namespace kestrafon::platform::win32
