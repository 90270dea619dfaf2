#pragma once
// What the core asks of the windowing system beyond a single window: the
// tick source of the playback timer, processing of pending events, the tray,
// the second window's creation and the file dialogs.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/form_host.h"

namespace kestrafon::platform {

// Arms or disarms the periodic tick. An interval of 0 means no ticks.
class TickSource {
 public:
  virtual ~TickSource() = default;
  virtual void Arm(int intervalMs) = 0;
  virtual void SetHandler(std::function<void()> onTick) = 0;
};

enum class TrayEvent { LeftDoubleClick, Other };

// The notification-area icon. `Add` reports whether a tray exists at all.
class Tray {
 public:
  virtual ~Tray() = default;
  virtual bool Add(const std::string& tip, std::function<void(TrayEvent)> onEvent) = 0;
  virtual void Remove() = 0;
  virtual bool Available() const = 0;
};

struct FileDialogRequest {
  std::string title;
  std::string filter;          // "description|*.a;*.b|description|*.c"
  std::string defaultExtension;
  std::string initialDirectory;
  bool allowMultiple = false;
  bool promptOverwrite = false;
};

// Modal file dialogs. The answer is the selection text: one full path, or the
// directory followed by the chosen names, separated by NUL characters.
// Nothing when cancelled.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::optional<std::string> ShowOpen(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> ShowSave(const FileDialogRequest& request) = 0;
  // A modal warning box with an OK button (UTF-8 title and text).
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
};

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual FormHost& PlayerHost() = 0;
  // Creates the playlist window's host (hidden); destroying it unloads the window.
  virtual std::unique_ptr<FormHost> CreatePlaylistHost() = 0;
  virtual TickSource& Ticks() = 0;
  virtual Tray& TrayIcon() = 0;
  virtual FileDialogs& Dialogs() = 0;
  // Lets queued window events (ticks, presents, releases) run now.
  virtual void ProcessPendingEvents() = 0;
  // Ends the event loop once no window is left.
  virtual void Quit() = 0;
};

}  // namespace kestrafon::platform
