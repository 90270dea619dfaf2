#include "platform/win32/win32_desktop.h"

#include "platform/form_host_handle.h"
#include "skin/sheet_map.h"

namespace kestrafon::platform::win32 {
namespace {

WindowOptions PlayerOptions(const DesktopOptions& options) {
  WindowOptions player;
  player.width = skin::kFaceWidth;
  player.height = skin::kFaceHeight;
  player.centred = true;
  player.icon = options.icon;
  player.onFirstPaint = options.onPlayerFirstPaint;
  return player;
}

}  // namespace

// The core's handle on the playlist window; letting go of it unloads the
// window, which is deleted later by the desktop.
class Win32Desktop::PlaylistHandle final : public FormHostHandle {
 public:
  PlaylistHandle(Win32Desktop& desktop, std::unique_ptr<Win32FormHost> window)
      : FormHostHandle(*window), desktop_(desktop), window_(std::move(window)) {}
  ~PlaylistHandle() override {
    window_->SetEventSink(nullptr);
    window_->SetVisible(false);
    desktop_.Retire(std::move(window_));
  }

 private:
  Win32Desktop& desktop_;
  std::unique_ptr<Win32FormHost> window_;
};

Win32Desktop::Win32Desktop(DesktopOptions options)
    : options_(std::move(options)),
      player_(PlayerOptions(options_)),
      tray_(player_, options_.icon, [this](bool shown) { SetToolWindows(shown); }) {}

Win32Desktop::~Win32Desktop() { DeleteRetired(); }

std::unique_ptr<FormHost> Win32Desktop::CreatePlaylistHost() {
  WindowOptions list;
  list.width = skin::kListWidth;
  list.height = skin::kListHeight;
  list.toolWindow = trayShown_;
  auto window = std::make_unique<Win32FormHost>(list);
  playlist_ = window.get();
  return std::make_unique<PlaylistHandle>(*this, std::move(window));
}

void Win32Desktop::Retire(std::unique_ptr<Win32FormHost> window) {
  if (window.get() == playlist_) playlist_ = nullptr;
  retired_.push_back(std::move(window));
}

void Win32Desktop::SetToolWindows(bool tool) {
  // No taskbar buttons while the tray icon can bring the player back.
  trayShown_ = tool;
  player_.SetToolWindow(tool);
  if (playlist_) playlist_->SetToolWindow(tool);
}

void Win32Desktop::ProcessPendingEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));  // for the main loop to see
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int Win32Desktop::Run() {
  MSG msg;
  while (true) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    DeleteRetired();
  }
  DeleteRetired();
  return msg.message == WM_QUIT ? int(msg.wParam) : 1;
}

}  // namespace kestrafon::platform::win32
