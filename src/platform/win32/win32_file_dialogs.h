#pragma once
// The open and save dialogs through the wide common-dialog calls
// (GetOpenFileNameW, GetSaveFileNameW), so names outside the ANSI code page
// come back intact, with room for hundreds of selected files; and message
// boxes.
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "control/modal_gate.h"
#include "seam/desktop.h"

namespace kestrafon::platform::win32 {

// Characters of the selection buffer: room for several hundred full names.
inline constexpr std::size_t kSelectionBufferChars = 65536;

// "description|*.a;*.b|description|*.c" as the dialog's filter list: each
// string ended by a NUL, the list by a second one.
std::wstring FilterList(std::string_view filter);
// The default extension as the dialog takes it: without the leading dot.
std::wstring DefaultExtension(std::string_view extension);
// The open dialog's answer as full UTF-8 paths. The buffer holds one full
// path, or the directory and then the chosen names, each ended by a NUL and
// the whole by a second NUL (or by the end of the buffer).
std::vector<std::string> ChosenPaths(const wchar_t* buffer, std::size_t size);
// The flags of each dialog.
DWORD OpenFlags(const seam::FileDialogRequest& request);
DWORD SaveFlags(const seam::FileDialogRequest& request);

// Makes the program's own folder the current one. The player must hold no
// folder of the user's (Explorer starts it in the file's folder, and the
// dialogs move it), or that folder cannot be deleted, nor its stick ejected.
void LeaveTheUsersFolders();

// Each dialog and box is a modal loop of `gate` (when given).
class Win32FileDialogs final : public seam::FileDialogs {
 public:
  explicit Win32FileDialogs(ModalGate* gate = nullptr) : gate_(gate) {}
  // Where a dialog opens that is given no folder: the folder the program was
  // started in, as on Linux, not the program's own that it then moved to.
  void StartIn(std::string folder) { startFolder_ = std::move(folder); }
  std::vector<std::string> ShowOpen(const seam::FileDialogRequest& request) override;
  std::optional<std::string> ShowSave(const seam::FileDialogRequest& request) override;
  void ShowMessage(const std::string& title, const std::string& text) override;

 private:
  ModalGate* gate_;
  std::string startFolder_;
};

}  // namespace kestrafon::platform::win32
