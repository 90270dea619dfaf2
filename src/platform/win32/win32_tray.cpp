#include "platform/win32/win32_tray.h"

#include <shellapi.h>

#include "platform/win32/win32_form_host.h"
#include "os/win32/wide_text.h"

namespace kestrafon::platform::win32 {

using os::Narrow;
using os::Widen;

Win32Tray::Win32Tray(Win32FormHost& owner, HICON icon, std::function<void(bool)> onPresence)
    : owner_(owner), icon_(icon), onPresence_(std::move(onPresence)) {
  owner_.SetMessageHandler(kTrayCallbackMessage, [this](WPARAM, LPARAM lParam) { OnCallback(lParam); });
}

Win32Tray::~Win32Tray() { Remove(); }

NOTIFYICONDATAW Win32Tray::Record() const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner_.hwnd();
  data.uID = kTrayIconId;
  return data;
}

bool Win32Tray::Add(const std::string& tip, std::function<void(TrayEvent)> onEvent) {
  onEvent_ = std::move(onEvent);
  NOTIFYICONDATAW data = Record();
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon_;
  lstrcpynW(data.szTip, Widen(tip).c_str(), int(sizeof data.szTip / sizeof data.szTip[0]));
  added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  if (added_ && onPresence_) onPresence_(true);
  return added_;
}

void Win32Tray::Remove() {
  if (!added_) return;
  NOTIFYICONDATAW data = Record();
  Shell_NotifyIconW(NIM_DELETE, &data);
  added_ = false;
  if (onPresence_) onPresence_(false);
}

void Win32Tray::OnCallback(LPARAM lParam) {
  if (!onEvent_) return;
  // The mouse message on the icon arrives in lParam: 515 is a left double click.
  onEvent_(lParam == WM_LBUTTONDBLCLK ? TrayEvent::LeftDoubleClick : TrayEvent::Other);
}

}  // namespace kestrafon::platform::win32
