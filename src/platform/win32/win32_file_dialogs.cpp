#include "platform/win32/win32_file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "model/paths.h"
#include "os/win32/wide_text.h"

namespace kestrafon::platform::win32 {

using os::Narrow;
using os::Widen;

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

std::vector<std::string> ChosenPaths(const wchar_t* buffer, std::size_t size) {
  // Up to the first pair of NULs (or the end of the buffer).
  std::size_t end = 0;
  while (end < size && !(buffer[end] == L'\0' && (end + 1 >= size || buffer[end + 1] == L'\0'))) ++end;
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= end; ++i) {
    if (i == end || buffer[i] == L'\0') {
      parts.push_back(Narrow(std::wstring_view(buffer + start, i - start)));
      start = i + 1;
    }
  }
  if (parts.size() == 1) return parts.front().empty() ? std::vector<std::string>{} : parts;
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < parts.size(); ++i) paths.push_back(JoinPath(parts.front(), parts[i]));
  return paths;
}

DWORD OpenFlags(const seam::FileDialogRequest& request) {
  // No must-exist flags: a typed name that does not exist comes back too.
  DWORD flags = OFN_LONGNAMES | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (request.allowMultiple) flags |= OFN_ALLOWMULTISELECT;
  if (request.promptOverwrite) flags |= OFN_OVERWRITEPROMPT;
  return flags;
}

DWORD SaveFlags(const seam::FileDialogRequest& request) {
  return OFN_NOCHANGEDIR | (request.promptOverwrite ? OFN_OVERWRITEPROMPT : 0);
}

void LeaveTheUsersFolders() {
  std::wstring program(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(nullptr, program.data(), DWORD(program.size()))) >= program.size())
    program.resize(program.size() * 2);
  program.resize(length);
  const std::size_t slash = program.find_last_of(L"\\/");
  if (slash != std::wstring::npos) SetCurrentDirectoryW(program.substr(0, slash + 1).c_str());
}

namespace {

std::optional<std::vector<wchar_t>> Run(const seam::FileDialogRequest& request, bool save, ModalGate* gate,
                                        const std::string& startFolder) {
  ModalGate::Loop loop(gate);
  std::vector<wchar_t> buffer(kSelectionBufferChars, L'\0');
  const std::wstring filter = FilterList(request.filter);
  const std::wstring title = Widen(request.title);
  const std::wstring extension = DefaultExtension(request.defaultExtension);
  const std::wstring directory = Widen(request.initialDirectory.empty() ? startFolder : request.initialDirectory);
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
  // The open dialog moves the current folder even when asked not to.
  LeaveTheUsersFolders();
  if (!chosen) return std::nullopt;
  return buffer;
}

}  // namespace

std::vector<std::string> Win32FileDialogs::ShowOpen(const seam::FileDialogRequest& request) {
  const std::optional<std::vector<wchar_t>> answer = Run(request, false, gate_, startFolder_);
  if (!answer) return {};
  return ChosenPaths(answer->data(), answer->size());
}

std::optional<std::string> Win32FileDialogs::ShowSave(const seam::FileDialogRequest& request) {
  const std::optional<std::vector<wchar_t>> answer = Run(request, true, gate_, startFolder_);
  if (!answer) return std::nullopt;
  return Narrow(answer->data());
}

void Win32FileDialogs::ShowMessage(const std::string& title, const std::string& text) {
  ModalGate::Loop loop(gate_);
  MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Widen(title).c_str(), MB_OK | MB_ICONWARNING);
}

}  // namespace kestrafon::platform::win32
