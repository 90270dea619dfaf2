#pragma once
// The notification-area icon through Shell_NotifyIconW: identifier 1, its
// notifications sent to the player window as WM_USER + 1, where the
// player's window procedure hands them to the core.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <functional>

#include "seam/desktop.h"

namespace kestrafon::platform::win32 {

inline constexpr UINT kTrayCallbackMessage = WM_USER + 1;  // 1025
inline constexpr UINT kTrayIconId = 1;

class Win32FormHost;

class Win32Tray final : public Tray {
 public:
  // `onPresence` hears when the icon comes and goes (windows drop their
  // taskbar buttons while it is there).
  Win32Tray(Win32FormHost& owner, HICON icon, std::function<void(bool)> onPresence);
  ~Win32Tray() override;

  bool Add(const std::string& tip, std::function<void(TrayEvent)> onEvent) override;
  void Remove() override;
  bool HasIcon() const override { return added_; }

  // What the owner's window procedure does with the callback message.
  void OnCallback(LPARAM lParam);

 private:
  NOTIFYICONDATAW Record() const;

  Win32FormHost& owner_;
  HICON icon_;
  std::function<void(bool)> onPresence_;
  std::function<void(TrayEvent)> onEvent_;
  bool added_ = false;
};

}  // namespace kestrafon::platform::win32
