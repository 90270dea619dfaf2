#pragma once
// One borderless Win32 window ("Form1", WS_POPUP) that shows a retained face:
// the face is copied into a DIB section and only the dirty rectangle is
// repainted; mouse, keys, size and close requests go to the core in face
// pixels.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "seam/desktop.h"
#include "seam/form_host.h"

namespace kestrafon::platform::win32 {

struct WindowOptions {
  int width = 0, height = 0;  // client area in face pixels
  bool centred = false;       // centred on the work area when first shown
  bool toolWindow = false;    // no taskbar button
  HICON icon = nullptr;     // the small icon (title bar, taskbar)
  HICON bigIcon = nullptr;  // the large one (Alt+Tab); the small one when null
  // Called once, after the window first painted itself.
  std::function<void()> onFirstPaint;
};

// The core's key for a virtual-key code.
seam::Key KeyFromVirtualKey(WPARAM vk);
// The core's button flags for the MK_* flags of a mouse message.
int ButtonsFromMouseFlags(WPARAM flags);
// The whole factor the face is drawn at for a screen of `dpi` dots per
// inch, rounded as the Linux build rounds it: 96 gives 1, 144 and 192 give
// 2, 288 gives 3.
int ScaleForDpi(UINT dpi);
// WM_GETDPISCALEDSIZE (Windows 10 1703 and later), which the headers hide
// from a build for Windows 7.
inline constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;

// The media key of a WM_APPCOMMAND command; nothing for any other command.
std::optional<seam::MediaKey> MediaKeyFromAppCommand(int command);
// The local files of a drop (folders and other things left out), as UTF-8.
std::vector<std::string> DroppedFiles(HDROP drop);

// The face, the mouse and the outline's corners are in face pixels, as on
// Qt; on a screen of more dots per inch the window is that many times larger
// and the face is copied to it pixel for pixel. Position, OuterSize and Move
// are in screen pixels, the one measure two windows on screens of different
// dots per inch share, so the playlist window docks where the player's edge
// is; SetRoundedRegion takes the size as OuterSize gives it.
class Win32FormHost final : public seam::FormHost {
 public:
  explicit Win32FormHost(const WindowOptions& options);
  ~Win32FormHost() override;
  Win32FormHost(const Win32FormHost&) = delete;
  Win32FormHost& operator=(const Win32FormHost&) = delete;

  void SetEventSink(seam::FormEventSink* sink) override { sink_ = sink; }
  void SetVisible(bool visible) override;
  bool IsVisible() const override;
  void SetWindowState(seam::WindowState state) override;
  void Present(const Image& face, Rect dirty) override;
  void SetRoundedRegion(int width, int height, int ellipseW, int ellipseH) override;
  void SetTopMost(bool topMost) override;
  seam::Point Position() const override;
  seam::Point OuterSize() const override;
  void Move(seam::Point topLeft) override;
  void DragMove() override;

  HWND hwnd() const { return hwnd_; }
  // Shows or drops the taskbar button (WS_EX_TOOLWINDOW).
  void SetToolWindow(bool tool);
  // A message the window procedure hands to someone else first (the tray's
  // callback, the taskbar's restart); it is passed on to the default
  // procedure after.
  void AddMessageHandler(UINT message, std::function<void(WPARAM, LPARAM)> handler);
  // Files dropped on the window; without a handler the window takes no drops.
  void SetFilesDroppedHandler(seam::FilesDroppedHandler handler);
  // Media keys (WM_APPCOMMAND) while the window is active.
  void SetMediaKeyHandler(std::function<void(seam::MediaKey)> handler) { onMediaKey_ = std::move(handler); }
  // The pixel the window shows at face (x, y), as 0xAARRGGBB.
  std::uint32_t PresentedPixel(int x, int y) const;
  // The whole factor the face is drawn at.
  int scale() const { return scale_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Mouse(UINT message, WPARAM wParam, LPARAM lParam);
  // The window's size on a screen of `dpi` dots per inch.
  SIZE SizeAt(UINT dpi) const;
  // The window moved to a screen of other dots per inch.
  void Rescale(UINT dpi, const RECT& suggested);
  // Sets the window's region from outline_, at the current scale.
  void ApplyOutline();

  WindowOptions options_;
  HWND hwnd_ = nullptr;
  HDC memory_ = nullptr;
  HBITMAP dib_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  std::uint32_t* pixels_ = nullptr;  // the DIB section's bits, top-down
  seam::FormEventSink* sink_ = nullptr;
  bool placed_ = false;
  bool minimisedWhileHidden_ = false;
  bool painted_ = false;
  bool dragging_ = false;
  int scale_ = 1;
  struct Outline {
    int width = 0, height = 0, ellipseW = 0, ellipseH = 0;
  } outline_;  // the last one asked for, in face pixels
  std::vector<std::pair<UINT, std::function<void(WPARAM, LPARAM)>>> handlers_;
  seam::FilesDroppedHandler onFilesDropped_;
  std::function<void(seam::MediaKey)> onMediaKey_;
};

}  // namespace kestrafon::platform::win32
