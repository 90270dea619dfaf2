#pragma once
// The desktop as the core sees it, on Win32: the player window, the playlist
// window on demand, the playback ticks, the tray and the file dialogs, and
// the message loop that drives them.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/desktop.h"
#include "platform/win32/win32_file_dialogs.h"
#include "platform/win32/win32_form_host.h"
#include "platform/win32/win32_tick_source.h"
#include "platform/win32/win32_tray.h"

namespace kestrafon::platform::win32 {

struct DesktopOptions {
  HICON icon = nullptr;
  // Called once, after the player window first painted itself.
  std::function<void()> onPlayerFirstPaint;
};

class Win32Desktop final : public Desktop {
 public:
  explicit Win32Desktop(DesktopOptions options);
  ~Win32Desktop() override;

  FormHost& PlayerHost() override { return player_; }
  std::unique_ptr<FormHost> CreatePlaylistHost() override;
  TickSource& Ticks() override { return ticks_; }
  Tray& TrayIcon() override { return tray_; }
  FileDialogs& Dialogs() override { return dialogs_; }
  void ProcessPendingEvents() override;
  void Quit() override { PostQuitMessage(0); }

  // Runs the message loop until Quit; the exit status.
  int Run();

  Win32FormHost& playerWindow() { return player_; }
  // The playlist window that is loaded now, if any.
  Win32FormHost* playlistWindow() { return playlist_; }

 private:
  class PlaylistHandle;
  // Playlist windows are unloaded from inside their own messages; they are
  // deleted here, once control is back in the message loop.
  void Retire(std::unique_ptr<Win32FormHost> window);
  void DeleteRetired() { retired_.clear(); }
  void SetToolWindows(bool tool);

  DesktopOptions options_;
  Win32FormHost player_;
  Win32TickSource ticks_;
  Win32Tray tray_;
  Win32FileDialogs dialogs_;
  Win32FormHost* playlist_ = nullptr;
  bool trayShown_ = false;
  std::vector<std::unique_ptr<Win32FormHost>> retired_;
};

}  // namespace kestrafon::platform::win32
