#include "platform/win32/win32_tick_source.h"

namespace kestrafon::platform::win32 {
namespace {

constexpr wchar_t kClassName[] = L"KestrafonTicks";
constexpr UINT_PTR kTimerId = 1;

}  // namespace

Win32TickSource::Win32TickSource() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
  hwnd_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32TickSource::~Win32TickSource() {
  if (!hwnd_) return;
  KillTimer(hwnd_, kTimerId);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

void Win32TickSource::Arm(int intervalMs) {
  interval_ = intervalMs > 0 ? intervalMs : 0;
  if (!hwnd_) return;
  if (interval_ == 0) KillTimer(hwnd_, kTimerId);
  else SetTimer(hwnd_, kTimerId, UINT(interval_), nullptr);  // re-arming restarts the period
}

LRESULT CALLBACK Win32TickSource::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    auto* self = reinterpret_cast<Win32TickSource*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->interval_ > 0 && self->onTick_) self->onTick_();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace kestrafon::platform::win32
