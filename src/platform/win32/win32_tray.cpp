#include "platform/win32/win32_tray.h"

#include <shellapi.h>

#include "os/win32/wide_text.h"
#include "platform/win32/win32_form_host.h"

namespace kestrafon::platform::win32 {

using os::Widen;

Win32Tray::Win32Tray(Win32FormHost& owner, HICON icon, std::function<void(bool)> onPresence, ShellNotify shell)
    : owner_(owner),
      icon_(icon),
      onPresence_(std::move(onPresence)),
      shell_(shell ? std::move(shell) : ShellNotify(&Shell_NotifyIconW)) {
  owner_.AddMessageHandler(kTrayCallbackMessage, [this](WPARAM, LPARAM lParam) { OnCallback(lParam); });
  owner_.AddMessageHandler(RegisterWindowMessageW(L"TaskbarCreated"), [this](WPARAM, LPARAM) { OnTaskbarCreated(); });
}

Win32Tray::~Win32Tray() { Remove(); }

NOTIFYICONDATAW Win32Tray::Record() const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner_.hwnd();
  data.uID = kTrayIconId;
  return data;
}

bool Win32Tray::PutIcon() {
  NOTIFYICONDATAW data = Record();
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon_;
  lstrcpynW(data.szTip, Widen(tip_).c_str(), int(sizeof data.szTip / sizeof data.szTip[0]));
  added_ = shell_(NIM_ADD, &data) != FALSE;
  if (onPresence_) onPresence_(added_);
  return added_;
}

bool Win32Tray::Add(const std::string& tip, std::function<void(seam::TrayEvent)> onEvent) {
  onEvent_ = std::move(onEvent);
  tip_ = tip;
  wanted_ = true;
  return PutIcon();
}

void Win32Tray::Remove() {
  wanted_ = false;
  if (!added_) return;
  NOTIFYICONDATAW data = Record();
  shell_(NIM_DELETE, &data);
  added_ = false;
}

void Win32Tray::OnTaskbarCreated() {
  if (!wanted_) return;
  // A tray that failed at logon gets its first chance here too.
  added_ = false;
  PutIcon();
}

void Win32Tray::OnCallback(LPARAM lParam) {
  if (!onEvent_) return;
  // The mouse message on the icon arrives in lParam: 515 is a left double click.
  onEvent_(lParam == WM_LBUTTONDBLCLK ? seam::TrayEvent::LeftDoubleClick : seam::TrayEvent::Other);
}

}  // namespace kestrafon::platform::win32
