#pragma once
// The notification-area icon through Shell_NotifyIconW: identifier 1, its
// notifications sent to the player window as WM_USER + 1, where the
// player's window procedure hands them to the core. When Explorer starts
// again (after a crash or an update, or late at logon) it says so with the
// registered "TaskbarCreated" message, and the icon goes back in.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <functional>
#include <string>

#include "seam/desktop.h"

namespace kestrafon::platform::win32 {

inline constexpr UINT kTrayCallbackMessage = WM_USER + 1;  // 1025
inline constexpr UINT kTrayIconId = 1;

class Win32FormHost;

// The system's call, or a stand-in for the tests.
using ShellNotify = std::function<BOOL(DWORD message, NOTIFYICONDATAW* data)>;

class Win32Tray final : public seam::Tray {
 public:
  // `onPresence` hears when the icon comes and goes while the player runs
  // (windows keep their taskbar buttons while there is none).
  Win32Tray(Win32FormHost& owner, HICON icon, std::function<void(bool)> onPresence, ShellNotify shell = {});
  ~Win32Tray() override;

  bool Add(const std::string& tip, std::function<void(seam::TrayEvent)> onEvent) override;
  // At shut-down: the icon goes, and the windows are left as they are, so
  // that no taskbar button flashes up on the way out.
  void Remove() override;
  bool HasIcon() const override { return added_; }

  // What the owner's window procedure does with the callback message.
  void OnCallback(LPARAM lParam);
  // Explorer (re)started: every icon it held is gone, so ours goes back in.
  void OnTaskbarCreated();

 private:
  NOTIFYICONDATAW Record() const;
  bool PutIcon();

  Win32FormHost& owner_;
  HICON icon_;
  std::function<void(bool)> onPresence_;
  ShellNotify shell_;
  std::function<void(seam::TrayEvent)> onEvent_;
  std::string tip_;
  bool wanted_ = false;  // between Add and Remove
  bool added_ = false;   // the icon is in the tray
};

}  // namespace kestrafon::platform::win32
