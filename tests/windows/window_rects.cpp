// Prints where Windows (here: Wine) believes each visible window titled
// "Form1" is, one "x y w h" line each: the end-to-end run compares it with
// where X shows the window when a click goes astray.
#include <windows.h>

#include <cstdio>

namespace {

BOOL CALLBACK PrintForm(HWND hwnd, LPARAM) {
  wchar_t title[16] = {};
  GetWindowTextW(hwnd, title, 16);
  if (!IsWindowVisible(hwnd) || lstrcmpW(title, L"Form1") != 0) return TRUE;
  RECT r{};
  GetWindowRect(hwnd, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return TRUE;
}

}  // namespace

int main() {
  EnumWindows(PrintForm, 0);
  return 0;
}
