#pragma once
// The playback ticks from SetTimer on a message-only window of their own, so
// the system's modal loops (moving a window, the file dialogs) keep them
// coming.
#include <windows.h>

#include <functional>

#include "seam/desktop.h"

namespace kestrafon::platform::win32 {

class Win32TickSource final : public seam::TickSource {
 public:
  Win32TickSource();
  ~Win32TickSource() override;
  Win32TickSource(const Win32TickSource&) = delete;
  Win32TickSource& operator=(const Win32TickSource&) = delete;

  void Arm(int intervalMs) override;
  void SetHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }
  int interval() const { return interval_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  int interval_ = 0;
  std::function<void()> onTick_;
};

}  // namespace kestrafon::platform::win32
