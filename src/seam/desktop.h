#pragma once
// What the core asks of the windowing system beyond a single window: the
// tick source of the playback timer, processing of pending events, the tray,
// the second window's creation, the file dialogs and files dropped on a
// window.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "seam/form_host.h"

namespace kestrafon::seam {

// Arms or disarms the periodic tick. An interval of 0 means no ticks.
class TickSource {
 public:
  virtual ~TickSource() = default;
  virtual void Arm(int intervalMs) = 0;
  virtual void SetHandler(std::function<void()> onTick) = 0;
};

enum class TrayEvent { LeftDoubleClick, Other };

// The notification-area icon. `Add` reports whether the icon went in.
class Tray {
 public:
  virtual ~Tray() = default;
  virtual bool Add(const std::string& tip, std::function<void(TrayEvent)> onEvent) = 0;
  virtual void Remove() = 0;
  // Whether our icon is in a tray now, so that a hidden player can come
  // back through it: false before Add, after Remove, when Add found no tray
  // and when the tray went away since.
  virtual bool HasIcon() const = 0;
};

struct FileDialogRequest {
  std::string title;
  std::string filter;          // "description|*.a;*.b|description|*.c"
  std::string defaultExtension;
  std::string initialDirectory;
  bool allowMultiple = false;
  bool promptOverwrite = false;
};

// Modal file dialogs, answering with full paths (UTF-8).
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen files in the order the dialog lists them; empty when cancelled.
  virtual std::vector<std::string> ShowOpen(const FileDialogRequest& request) = 0;
  // The file to save to; nothing when cancelled.
  virtual std::optional<std::string> ShowSave(const FileDialogRequest& request) = 0;
  // A modal warning box with an OK button (UTF-8 title and text).
  virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
};

// A media key of the keyboard, or a media button the system shows.
enum class MediaKey { PlayPause, Play, Pause, Stop, Next, Previous };

// Local files dropped on a window, in the order the drop lists them.
using FilesDroppedHandler = std::function<void(const std::vector<std::string>& paths)>;

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual FormHost& PlayerHost() = 0;
  // Creates the playlist window's host (hidden); destroying it unloads the window.
  virtual std::unique_ptr<FormHost> CreatePlaylistHost() = 0;
  virtual TickSource& Ticks() = 0;
  virtual Tray& TrayIcon() = 0;
  virtual FileDialogs& Dialogs() = 0;
  // Called once, after the player window first painted itself.
  virtual void SetFirstPaintHandler(std::function<void()> handler) = 0;
  // Files dropped on either window, now and on playlist windows made later.
  virtual void SetFilesDroppedHandler(FilesDroppedHandler handler) = 0;
  // Media keys pressed while a window of the player is active.
  virtual void SetMediaKeyHandler(std::function<void(MediaKey)> handler) = 0;
  // Lets queued window events (ticks, presents, releases) run now.
  virtual void ProcessPendingEvents() = 0;
  // Ends the event loop once no window is left.
  virtual void Quit() = 0;
};

}  // namespace kestrafon::seam
