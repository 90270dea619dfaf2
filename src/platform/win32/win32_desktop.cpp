#include "platform/win32/win32_desktop.h"

#include "seam/form_host_handle.h"
#include "skin/sheet_map.h"

namespace kestrafon::platform::win32 {
namespace {

// Asks the player window to run what waits at the gate.
constexpr UINT kDrainGateMessage = WM_APP + 40;

WindowOptions PlayerOptions(const DesktopOptions& options, std::function<void()> onFirstPaint) {
  WindowOptions player;
  player.width = skin::kFaceWidth;
  player.height = skin::kFaceHeight;
  player.centred = true;
  player.icon = options.icon;
  player.bigIcon = options.bigIcon;
  player.onFirstPaint = std::move(onFirstPaint);
  return player;
}

}  // namespace

Win32Desktop::Win32Desktop(DesktopOptions options)
    : options_(std::move(options)),
      player_(PlayerOptions(options_, [this] {
        if (onFirstPaint_) onFirstPaint_();
      })),
      gate_([this] { PostMessageW(player_.hwnd(), kDrainGateMessage, 0, 0); }),
      tray_(player_, options_.icon, [this](bool shown) { SetToolWindows(shown); }),
      dialogs_(&gate_) {
  player_.AddMessageHandler(kDrainGateMessage, [this](WPARAM, LPARAM) { gate_.Drain(); });
  GateMoveLoops(player_);
}

void Win32Desktop::GateMoveLoops(Win32FormHost& window) {
  window.AddMessageHandler(WM_ENTERSIZEMOVE, [this](WPARAM, LPARAM) { gate_.Enter(); });
  window.AddMessageHandler(WM_EXITSIZEMOVE, [this](WPARAM, LPARAM) { gate_.Leave(); });
}

Win32Desktop::~Win32Desktop() {
  if (hotKeysTried_) {
    for (int id = 1; id <= 4; ++id) UnregisterHotKey(player_.hwnd(), id);
  }
  DeleteRetired();
}

std::unique_ptr<seam::FormHost> Win32Desktop::CreatePlaylistHost() {
  WindowOptions list;
  list.width = skin::kListWidth;
  list.height = skin::kListHeight;
  list.toolWindow = trayShown_;
  Win32FormHost* window = loaded_.emplace_back(std::make_unique<Win32FormHost>(list)).get();
  window->SetFilesDroppedHandler(onFilesDropped_);
  window->SetMediaKeyHandler(GatedMediaKeys());
  GateMoveLoops(*window);
  return std::make_unique<seam::FormHostHandle>(*window, [this, window] { Retire(window); });
}

void Win32Desktop::SetFilesDroppedHandler(seam::FilesDroppedHandler handler) {
  onFilesDropped_ = std::move(handler);
  player_.SetFilesDroppedHandler(onFilesDropped_);
  for (const auto& window : loaded_) window->SetFilesDroppedHandler(onFilesDropped_);
}

void Win32Desktop::SetMediaKeyHandler(std::function<void(seam::MediaKey)> handler) {
  onMediaKey_ = std::move(handler);
  player_.SetMediaKeyHandler(GatedMediaKeys());
  for (const auto& window : loaded_) window->SetMediaKeyHandler(GatedMediaKeys());
}

namespace {
// The keyboard's four media keys, as hot keys of the player window.
constexpr std::pair<UINT, seam::MediaKey> kMediaHotKeys[] = {{VK_MEDIA_PLAY_PAUSE, seam::MediaKey::PlayPause},
                                                       {VK_MEDIA_STOP, seam::MediaKey::Stop},
                                                       {VK_MEDIA_NEXT_TRACK, seam::MediaKey::Next},
                                                       {VK_MEDIA_PREV_TRACK, seam::MediaKey::Previous}};
}  // namespace

void Win32Desktop::UseMediaHotKeys() {
  if (hotKeysTried_ || !player_.hwnd()) return;
  hotKeysTried_ = true;
  // The media keys reach the player while it is in the tray too. A key
  // another program holds stays with it; the player starts all the same.
  for (std::size_t id = 0; id < std::size(kMediaHotKeys); ++id)
    RegisterHotKey(player_.hwnd(), int(id + 1), 0, kMediaHotKeys[id].first);
  player_.AddMessageHandler(WM_HOTKEY, [this](WPARAM id, LPARAM) {
    if (id >= 1 && id <= std::size(kMediaHotKeys)) GatedMediaKeys()(kMediaHotKeys[id - 1].second);
  });
}

void Win32Desktop::Retire(Win32FormHost* window) {
  for (auto it = loaded_.begin(); it != loaded_.end(); ++it) {
    if (it->get() != window) continue;
    retired_.push_back(std::move(*it));
    loaded_.erase(it);
    return;
  }
}

void Win32Desktop::SetToolWindows(bool tool) {
  // No taskbar buttons while the tray icon can bring the player back.
  trayShown_ = tool;
  player_.SetToolWindow(tool);
  for (const auto& window : loaded_) window->SetToolWindow(tool);
}

std::function<void(seam::MediaKey)> Win32Desktop::GatedMediaKeys() {
  return [this](seam::MediaKey key) {
    gate_.Run([this, key] {
      if (onMediaKey_) onMediaKey_(key);
    });
  };
}

void Win32Desktop::ProcessPendingEvents() {
  ModalGate::Loop loop(&gate_);
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
