#pragma once
// The desktop as the core sees it, on Win32: the player window, the playlist
// window on demand, the playback ticks, the tray and the file dialogs, and
// the message loop that drives them.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "control/modal_gate.h"
#include "seam/desktop.h"
#include "platform/win32/win32_file_dialogs.h"
#include "platform/win32/win32_form_host.h"
#include "platform/win32/win32_tick_source.h"
#include "platform/win32/win32_tray.h"

namespace kestrafon::platform::win32 {

struct DesktopOptions {
  HICON icon = nullptr;     // small: the tray, title bars, the taskbar
  HICON bigIcon = nullptr;  // large: Alt+Tab
};

class Win32Desktop final : public seam::Desktop {
 public:
  explicit Win32Desktop(DesktopOptions options);
  ~Win32Desktop() override;

  seam::FormHost& PlayerHost() override { return player_; }
  std::unique_ptr<seam::FormHost> CreatePlaylistHost() override;
  seam::TickSource& Ticks() override { return ticks_; }
  seam::Tray& TrayIcon() override { return tray_; }
  seam::FileDialogs& Dialogs() override { return dialogs_; }
  Win32FileDialogs& fileDialogs() { return dialogs_; }
  void SetFirstPaintHandler(std::function<void()> handler) override { onFirstPaint_ = std::move(handler); }
  void SetFilesDroppedHandler(seam::FilesDroppedHandler handler) override;
  void SetMediaKeyHandler(std::function<void(seam::MediaKey)> handler) override;
  void ProcessPendingEvents() override;
  void Quit() override { PostQuitMessage(0); }

  // The keyboard's four media keys as hot keys of the player, so that they
  // reach it in the tray too: where Windows' own media controls cannot be
  // had. A key another program holds stays with it.
  void UseMediaHotKeys();

  // Runs the message loop until Quit; the exit status.
  int Run();

  Win32FormHost& playerWindow() { return player_; }
  // Where commands from outside the windows wait out the modal loops: the
  // dialogs, message boxes and window moves, and passes through pending events.
  ModalGate& OutsideCommands() { return gate_; }
  // The playlist window that is loaded now, if any.
  Win32FormHost* playlistWindow() { return loaded_.empty() ? nullptr : loaded_.back().get(); }

 private:
  // Playlist windows are unloaded from inside their own messages; they are
  // deleted here, once control is back in the message loop.
  void Retire(Win32FormHost* window);
  void DeleteRetired() { retired_.clear(); }
  void SetToolWindows(bool tool);
  // A window's move loop is a modal loop of the gate's.
  void GateMoveLoops(Win32FormHost& window);
  // The media keys, through the gate.
  std::function<void(seam::MediaKey)> GatedMediaKeys();

  DesktopOptions options_;
  Win32FormHost player_;
  ModalGate gate_;
  Win32TickSource ticks_;
  Win32Tray tray_;
  Win32FileDialogs dialogs_;
  std::vector<std::unique_ptr<Win32FormHost>> loaded_;  // the playlist window while loaded
  bool trayShown_ = false;
  seam::FilesDroppedHandler onFilesDropped_;
  std::function<void(seam::MediaKey)> onMediaKey_;
  bool hotKeysTried_ = false;
  std::function<void()> onFirstPaint_;
  std::vector<std::unique_ptr<Win32FormHost>> retired_;
};

}  // namespace kestrafon::platform::win32
