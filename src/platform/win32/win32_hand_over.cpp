#include "platform/win32/win32_hand_over.h"

#include <algorithm>
#include <string>

namespace kestrafon::platform::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"KestrafonHandOver";
// "Local\" is the session's own namespace: each signed-in user gets a player.
constexpr wchar_t kMutexName[] = L"Local\\Kestrafon.Player";
constexpr UINT_PTR kGatherTimer = 1;
// Launches that keep coming are opened at the latest this long after the first.
constexpr DWORD kGatherAtMostMs = 2000;
// How long between tries while the session is neither free nor answering.
constexpr DWORD kClaimRetryMs = 50;

}  // namespace

SessionLock::SessionLock() {
  mutex_ = CreateMutexW(nullptr, TRUE, kMutexName);
  if (mutex_) {
    owned_ = GetLastError() != ERROR_ALREADY_EXISTS;
  } else {
    // A player running with other rights: its mutex may only be waited on,
    // if at all.
    mutex_ = OpenMutexW(SYNCHRONIZE, FALSE, kMutexName);
  }
}

SessionLock::~SessionLock() {
  if (owned_) ReleaseMutex(mutex_);
  if (mutex_) CloseHandle(mutex_);
}

bool SessionLock::WaitToOwn(DWORD waitMs) {
  if (owned_) return true;
  if (!mutex_) {
    Sleep(waitMs);
    return false;
  }
  // Abandoned: the player ended without letting go; the session is free.
  const DWORD result = WaitForSingleObject(mutex_, waitMs);
  owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  return owned_;
}

std::uint64_t ProcessStartTime() {
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  return (std::uint64_t(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

bool ClaimSession(SessionLock& lock, const Launch& launch, DWORD waitMs) {
  const ULONGLONG until = GetTickCount64() + waitMs;
  while (!lock.Owned()) {
    if (HandOverToRunningPlayer(launch)) return false;
    if (GetTickCount64() >= until) return true;
    lock.WaitToOwn(kClaimRetryMs);
  }
  return true;
}

bool HandOverToRunningPlayer(const Launch& launch) {
  HWND player = FindWindowExW(HWND_MESSAGE, nullptr, kWindowClass, nullptr);
  if (!player) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(player, &pid);
  if (pid) AllowSetForegroundWindow(pid);  // the player may come to the front
  const std::string bytes = EncodeLaunch(launch);
  COPYDATASTRUCT copy{};
  copy.dwData = kLaunchTag;
  copy.cbData = DWORD(bytes.size());
  copy.lpData = const_cast<char*>(bytes.data());
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(player, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, 10000,
                             &answer) != 0 &&
         answer == TRUE;
}

HandOverWindow::HandOverWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &HandOverWindow::Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
  hwnd_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                          nullptr);
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // A player started with more rights still takes an ordinary launch.
  ChangeWindowMessageFilterEx(hwnd_, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
}

HandOverWindow::~HandOverWindow() { Close(); }

void HandOverWindow::Close() {
  if (!hwnd_) return;
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void HandOverWindow::Take(Launch launch) {
  if (gathered_.empty()) firstGatheredAt_ = GetTickCount();
  gathered_.push_back(std::move(launch));
  Gather();
}

void HandOverWindow::Serve(OnLaunches onLaunches) {
  onLaunches_ = std::move(onLaunches);
  Gather();
}

void HandOverWindow::Gather() {
  if (!hwnd_ || !onLaunches_ || gathered_.empty()) return;
  // Each launch that comes puts the opening off, up to a bound.
  const DWORD waited = GetTickCount() - firstGatheredAt_;
  if (waited >= kGatherAtMostMs) return OpenGathered();
  SetTimer(hwnd_, kGatherTimer, std::min<DWORD>(kGatherMs, kGatherAtMostMs - waited), nullptr);
}

void HandOverWindow::OpenGathered() {
  if (hwnd_) KillTimer(hwnd_, kGatherTimer);
  if (gathered_.empty() || !onLaunches_) return;
  std::vector<Launch> launches = OrderLaunches(std::move(gathered_));
  gathered_.clear();
  onLaunches_(std::move(launches));
}

LRESULT CALLBACK HandOverWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<HandOverWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_TIMER && wParam == kGatherTimer) {
    self->OpenGathered();
    return 0;
  }
  if (message != WM_COPYDATA) return DefWindowProcW(hwnd, message, wParam, lParam);
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!copy || copy->dwData != kLaunchTag || (copy->cbData && !copy->lpData)) return FALSE;
  std::optional<Launch> launch =
      DecodeLaunch(std::string_view(static_cast<const char*>(copy->lpData), copy->cbData));
  if (!launch) return FALSE;
  // The sender waits for this answer: take the launch now, open it after.
  self->Take(std::move(*launch));
  return TRUE;
}

}  // namespace kestrafon::platform::win32
