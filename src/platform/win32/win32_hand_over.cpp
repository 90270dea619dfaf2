#include "platform/win32/win32_hand_over.h"

#include "model/cp932_text.h"

namespace kestrafon::platform::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KestrafonHandOver";
// "Local\" is the session's own namespace: each signed-in user gets a player.
constexpr wchar_t kMutexName[] = L"Local\\Kestrafon.Player";
constexpr std::size_t kMaxHandOverBytes = std::size_t(16) << 20;
constexpr UINT kActMessage = WM_APP + 1;

}  // namespace

std::string EncodeHandOver(const std::vector<std::string>& paths) {
  std::string bytes;
  for (const std::string& path : paths) {
    bytes += path;
    bytes.push_back('\0');
  }
  return bytes;
}

std::optional<std::vector<std::string>> DecodeHandOver(const void* data, std::size_t size) {
  std::vector<std::string> paths;
  if (size == 0) return paths;  // no files: come to the front
  if (!data || size > kMaxHandOverBytes) return std::nullopt;
  const std::string_view bytes(static_cast<const char*>(data), size);
  if (bytes.back() != '\0') return std::nullopt;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find('\0', start);
    const std::string_view path = bytes.substr(start, end - start);
    if (path.empty() || !cp932::IsValidUtf8(path)) return std::nullopt;
    paths.emplace_back(path);
    start = end + 1;
  }
  return paths;
}

SessionLock::SessionLock() {
  mutex_ = CreateMutexW(nullptr, FALSE, kMutexName);
  first_ = !(mutex_ && GetLastError() == ERROR_ALREADY_EXISTS);
}

SessionLock::~SessionLock() {
  if (mutex_) CloseHandle(mutex_);
}

HandOverWindow::HandOverWindow(OnFiles onFiles)
    : onFiles_(std::move(onFiles)) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &HandOverWindow::Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
  hwnd_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                          nullptr);
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HandOverWindow::~HandOverWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK HandOverWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<HandOverWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == kActMessage) {
    // One hand-over at a time, in the order they came.
    while (!self->pending_.empty()) {
      const auto [files, enqueue] = std::move(self->pending_.front());
      self->pending_.erase(self->pending_.begin());
      if (self->onFiles_) self->onFiles_(files, enqueue);
    }
    return 0;
  }
  if (message != WM_COPYDATA) return DefWindowProcW(hwnd, message, wParam, lParam);
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!copy || (copy->dwData != kHandOverTag && copy->dwData != kEnqueueTag)) return FALSE;
  std::optional<std::vector<std::string>> paths = DecodeHandOver(copy->lpData, copy->cbData);
  if (!paths) return FALSE;
  // The sender waits for this answer: take the files now, open them after.
  self->pending_.emplace_back(std::move(*paths), copy->dwData == kEnqueueTag);
  PostMessageW(hwnd, kActMessage, 0, 0);
  return TRUE;
}

bool HandOverToRunningPlayer(const std::vector<std::string>& paths, bool enqueue, DWORD waitMs) {
  const DWORD until = GetTickCount() + waitMs;
  HWND player = nullptr;
  while (!(player = FindWindowExW(HWND_MESSAGE, nullptr, kWindowClass, nullptr))) {
    if (int(until - GetTickCount()) <= 0) return false;
    Sleep(50);
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(player, &pid);
  if (pid) AllowSetForegroundWindow(pid);  // the player may come to the front
  const std::string bytes = EncodeHandOver(paths);
  COPYDATASTRUCT copy{};
  copy.dwData = enqueue ? kEnqueueTag : kHandOverTag;
  copy.cbData = DWORD(bytes.size());
  copy.lpData = bytes.empty() ? nullptr : const_cast<char*>(bytes.data());
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(player, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, 10000,
                             &answer) != 0 &&
         answer == TRUE;
}

}  // namespace kestrafon::platform::win32
