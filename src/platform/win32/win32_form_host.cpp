#include "platform/win32/win32_form_host.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "os/win32/wide_text.h"

namespace kestrafon::platform::win32 {
namespace {

constexpr wchar_t kClassName[] = L"KestrafonForm";

// The dots per inch of the window's screen (Windows 10 and later), or of the
// system.
UINT DpiOf(HWND hwnd) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const auto forWindow = reinterpret_cast<GetDpiForWindowCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (hwnd && forWindow) {
    if (const UINT dpi = forWindow(hwnd)) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? UINT(dpi) : 96;
}

void RegisterFormClass(HICON icon, HICON bigIcon) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  // No CS_DBLCLKS: a quick second click on the face is a second press.
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
  wc.hIcon = bigIcon;
  wc.hIconSm = icon;
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
}

}  // namespace

seam::Key KeyFromVirtualKey(WPARAM vk) {
  switch (vk) {
    case VK_RETURN: return seam::Key::Enter;
    case VK_PRIOR: return seam::Key::PageUp;
    case VK_NEXT: return seam::Key::PageDown;
    case VK_UP: return seam::Key::Up;
    case VK_DOWN: return seam::Key::Down;
    default: return seam::Key::Other;
  }
}

int ButtonsFromMouseFlags(WPARAM flags) {
  return ((flags & MK_LBUTTON) ? seam::kLeftButton : 0) | ((flags & MK_RBUTTON) ? seam::kRightButton : 0) |
         ((flags & MK_MBUTTON) ? seam::kMiddleButton : 0);
}

int ScaleForDpi(UINT dpi) { return std::max(1, int(dpi + 48) / 96); }

std::optional<seam::MediaKey> MediaKeyFromAppCommand(int command) {
  switch (command) {
    case APPCOMMAND_MEDIA_PLAY_PAUSE: return seam::MediaKey::PlayPause;
    case APPCOMMAND_MEDIA_PLAY: return seam::MediaKey::Play;
    case APPCOMMAND_MEDIA_PAUSE: return seam::MediaKey::Pause;
    case APPCOMMAND_MEDIA_STOP: return seam::MediaKey::Stop;
    case APPCOMMAND_MEDIA_NEXTTRACK: return seam::MediaKey::Next;
    case APPCOMMAND_MEDIA_PREVIOUSTRACK: return seam::MediaKey::Previous;
    default: return std::nullopt;
  }
}

std::vector<std::string> DroppedFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    if (DragQueryFileW(drop, i, path.data(), length + 1) != length) continue;
    path.resize(length);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
      continue;
    paths.push_back(os::Narrow(path));
  }
  return paths;
}

Win32FormHost::Win32FormHost(const WindowOptions& options) : options_(options) {
  const HICON bigIcon = options.bigIcon ? options.bigIcon : options.icon;
  RegisterFormClass(options.icon, bigIcon);
  const DWORD exStyle = options.toolWindow ? WS_EX_TOOLWINDOW : 0;
  // A popup has no frame: the window is exactly the client area.
  scale_ = ScaleForDpi(DpiOf(nullptr));
  hwnd_ = CreateWindowExW(exStyle, kClassName, L"Form1", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                          CW_USEDEFAULT, options.width * scale_, options.height * scale_, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  // The screen it opened on decides (per monitor, where Windows tells).
  const int own = ScaleForDpi(DpiOf(hwnd_));
  if (own != scale_) {
    scale_ = own;
    SetWindowPos(hwnd_, nullptr, 0, 0, options.width * scale_, options.height * scale_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
  if (options.icon) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(options.icon));
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = options.width;
  info.bmiHeader.biHeight = -options.height;  // top-down, like the core's image
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  memory_ = CreateCompatibleDC(screen);
  dib_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  pixels_ = static_cast<std::uint32_t*>(bits);
  if (pixels_) std::fill_n(pixels_, std::size_t(options.width) * std::size_t(options.height), 0xFF000000u);
  if (memory_ && dib_) oldBitmap_ = SelectObject(memory_, dib_);
}

Win32FormHost::~Win32FormHost() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (memory_) {
    if (oldBitmap_) SelectObject(memory_, oldBitmap_);
    DeleteDC(memory_);
  }
  if (dib_) DeleteObject(dib_);
}

void Win32FormHost::SetVisible(bool visible) {
  if (!hwnd_) return;
  if (!visible) {
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  if (!placed_) {
    placed_ = true;
    if (options_.centred) {
      RECT work{};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      const int x = work.left + (work.right - work.left - options_.width * scale_) / 2;
      const int y = work.top + (work.bottom - work.top - options_.height * scale_) / 2;
      SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (minimisedWhileHidden_) {
    minimisedWhileHidden_ = false;
    ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
    return;
  }
  ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_SHOWMINNOACTIVE : SW_SHOW);
}

bool Win32FormHost::IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void Win32FormHost::SetWindowState(seam::WindowState state) {
  if (!hwnd_) return;
  if (state == seam::WindowState::Minimised) {
    // A hidden window stays hidden; it comes back minimised when shown.
    if (IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_MINIMIZE);
    else minimisedWhileHidden_ = true;
    return;
  }
  minimisedWhileHidden_ = false;
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, IsWindowVisible(hwnd_) ? SW_RESTORE : SW_SHOWNOACTIVATE);
  if (IsWindowVisible(hwnd_)) SetForegroundWindow(hwnd_);
}

void Win32FormHost::Present(const Image& face, Rect dirty) {
  if (!pixels_) return;
  GdiFlush();  // the DIB section may still be in use by an earlier blit
  const Rect copied = CopyToPixels(face, dirty, pixels_, options_.width, options_.height, options_.width);
  if (copied.w == 0) return;
  const RECT area{copied.x * scale_, copied.y * scale_, (copied.x + copied.w) * scale_, (copied.y + copied.h) * scale_};
  InvalidateRect(hwnd_, &area, FALSE);
}

void Win32FormHost::SetRoundedRegion(int width, int height, int ellipseW, int ellipseH) {
  if (!hwnd_) return;
  // The size comes in screen pixels, as OuterSize gave it; the corners are the art's.
  outline_ = {width / scale_, height / scale_, ellipseW, ellipseH};
  ApplyOutline();
}

void Win32FormHost::ApplyOutline() {
  // The outline of the face, made larger by the scale pixel for pixel, so
  // its corners are the 1x corners' stairs.
  HRGN region = CreateRoundRectRgn(0, 0, outline_.width, outline_.height, outline_.ellipseW, outline_.ellipseH);
  if (region && scale_ > 1) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> data(size);
    auto* rects = reinterpret_cast<RGNDATA*>(data.data());
    HRGN scaled = nullptr;
    if (size && GetRegionData(region, size, rects)) {
      XFORM grow{};
      grow.eM11 = grow.eM22 = FLOAT(scale_);
      scaled = ExtCreateRegion(&grow, size, rects);
    }
    DeleteObject(region);
    region = scaled;
  }
  // The system owns the region once it is set.
  if (region && !SetWindowRgn(hwnd_, region, TRUE)) DeleteObject(region);
}

void Win32FormHost::SetTopMost(bool topMost) {
  if (!hwnd_) return;
  SetWindowPos(hwnd_, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

namespace {

// Where the window stands, in screen pixels. A minimised window sits at
// about (-32000, -32000) with the size of an icon: what counts then is where
// it comes back, its normal place.
RECT NormalRect(HWND hwnd) {
  RECT r{};
  if (!hwnd) return r;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!IsIconic(hwnd) || !GetWindowPlacement(hwnd, &placement)) {
    GetWindowRect(hwnd, &r);
    return r;
  }
  r = placement.rcNormalPosition;
  // Workspace coordinates, except for tool windows: move them by the
  // taskbar's share of the monitor.
  if (!(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor))
      OffsetRect(&r, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
  }
  return r;
}

}  // namespace

seam::Point Win32FormHost::Position() const {
  const RECT r = NormalRect(hwnd_);
  return {int(r.left), int(r.top)};
}

seam::Point Win32FormHost::OuterSize() const {
  const RECT r = NormalRect(hwnd_);
  return {int(r.right - r.left), int(r.bottom - r.top)};
}

void Win32FormHost::Move(seam::Point topLeft) {
  if (!hwnd_) return;
  const int scale = scale_;
  SetWindowPos(hwnd_, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A move onto a screen of other dots per inch rescales the window on the
  // way, at a corner of the system's choosing: put it back where asked.
  if (scale_ != scale)
    SetWindowPos(hwnd_, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Win32FormHost::SizeAt(UINT dpi) const {
  const int scale = ScaleForDpi(dpi);
  return {options_.width * scale, options_.height * scale};
}

void Win32FormHost::Rescale(UINT dpi, const RECT& suggested) {
  scale_ = ScaleForDpi(dpi);
  // The system made the rectangle from SizeAt's answer, placed so that a
  // window being dragged keeps the cursor where it was on the face. Where it
  // did not ask (per-monitor awareness v1) it scaled linearly, and the
  // face's whole factor decides the size.
  const SIZE size = SizeAt(dpi);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  if (outline_.width > 0) ApplyOutline();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32FormHost::DragMove() {
  if (!hwnd_ || dragging_) return;
  // The system's own move loop, as if the press had landed on a caption; it
  // returns after the release, which it keeps for itself. Timer messages
  // are dispatched meanwhile.
  dragging_ = true;
  ReleaseCapture();
  SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  dragging_ = false;
}

void Win32FormHost::SetToolWindow(bool tool) {
  if (!hwnd_) return;
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  const LONG_PTR wanted = tool ? (style | WS_EX_TOOLWINDOW) : (style & ~LONG_PTR(WS_EX_TOOLWINDOW));
  if (wanted == style) return;
  // The taskbar looks at the style when the window is shown.
  const bool visible = IsWindowVisible(hwnd_);
  if (visible) ShowWindow(hwnd_, SW_HIDE);
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, wanted);
  if (visible) ShowWindow(hwnd_, SW_SHOWNA);
}

void Win32FormHost::SetFilesDroppedHandler(seam::FilesDroppedHandler handler) {
  onFilesDropped_ = std::move(handler);
  if (hwnd_) DragAcceptFiles(hwnd_, onFilesDropped_ ? TRUE : FALSE);
}

void Win32FormHost::AddMessageHandler(UINT message, std::function<void(WPARAM, LPARAM)> handler) {
  handlers_.emplace_back(message, std::move(handler));
}

std::uint32_t Win32FormHost::PresentedPixel(int x, int y) const {
  if (!pixels_ || x < 0 || y < 0 || x >= options_.width || y >= options_.height) return 0;
  return pixels_[std::size_t(y) * std::size_t(options_.width) + std::size_t(x)];
}

LRESULT CALLBACK Win32FormHost::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32FormHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT Win32FormHost::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  for (const auto& [handled, handler] : handlers_) {
    if (handled != message || message == 0 || !handler) continue;
    // The handler may end this window's life; keep what is needed after it.
    HWND hwnd = hwnd_;
    handler(wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      const RECT& r = ps.rcPaint;
      // The face pixels under the asked area, each drawn as a scale x scale
      // square: nearest neighbour, so the pixel art stays crisp.
      const int s = scale_;
      const int x0 = r.left / s, y0 = r.top / s, x1 = (r.right + s - 1) / s, y1 = (r.bottom + s - 1) / s;
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, x0 * s, y0 * s, (x1 - x0) * s, (y1 - y0) * s, memory_, x0, y0, x1 - x0, y1 - y0, SRCCOPY);
      EndPaint(hwnd_, &ps);
      if (!painted_) {
        painted_ = true;
        if (options_.onFirstPaint) options_.onFirstPaint();
      }
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the face covers every pixel
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      Mouse(message, wParam, lParam);
      return 0;
    case WM_KEYDOWN:
      if (sink_) sink_->OnKeyDown(KeyFromVirtualKey(wParam));
      return 0;
    case WM_SYSKEYDOWN:
      // The list keys act with Alt held too; every other Alt key (Alt+F4,
      // the window menu) stays the system's.
      if (KeyFromVirtualKey(wParam) == seam::Key::Other) return DefWindowProcW(hwnd_, message, wParam, lParam);
      if (sink_) sink_->OnKeyDown(KeyFromVirtualKey(wParam));
      return 0;
    case WM_DROPFILES: {
      const std::vector<std::string> paths = DroppedFiles(reinterpret_cast<HDROP>(wParam));
      DragFinish(reinterpret_cast<HDROP>(wParam));
      if (!paths.empty() && onFilesDropped_) onFilesDropped_(paths);
      return 0;
    }
    case WM_APPCOMMAND:
      if (const std::optional<seam::MediaKey> key = MediaKeyFromAppCommand(GET_APPCOMMAND_LPARAM(lParam))) {
        if (onMediaKey_) onMediaKey_(*key);
        return TRUE;
      }
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case kGetDpiScaledSizeMessage: {
      // Asked before a move to another screen, so the suggested rectangle
      // of WM_DPICHANGED is the face's size there, not a linear scaling.
      *reinterpret_cast<SIZE*>(lParam) = SizeAt(UINT(wParam));
      return TRUE;
    }
    case WM_DPICHANGED:
      Rescale(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // the player never holds up a log-off
    case WM_ENDSESSION:
      // Log-off or shut-down: close as the close button does, so the tray
      // icon and the playlist window go in order.
      if (wParam && sink_) sink_->OnCloseRequested();
      return 0;
    case WM_SIZE:
      if (sink_) sink_->OnResize();
      return 0;
    case WM_SHOWWINDOW:
      if (wParam && sink_) sink_->OnResize();
      return 0;
    case WM_CLOSE:
      // The core decides; a window that stays open ignores the request.
      if (sink_) sink_->OnCloseRequested();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void Win32FormHost::Mouse(UINT message, WPARAM wParam, LPARAM lParam) {
  // In face pixels: a press anywhere on a scale x scale square is on its pixel.
  const double x = double(GET_X_LPARAM(lParam) / scale_), y = double(GET_Y_LPARAM(lParam) / scale_);
  const int held = ButtonsFromMouseFlags(wParam);
  switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: {
      // Releases outside the window still come back here.
      SetCapture(hwnd_);
      const int button = message == WM_LBUTTONDOWN ? seam::kLeftButton : message == WM_RBUTTONDOWN ? seam::kRightButton
                                                                                             : seam::kMiddleButton;
      if (sink_) sink_->OnMouseDown(button, x, y);
      return;
    }
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
      if (held == 0 && GetCapture() == hwnd_) ReleaseCapture();
      const int button = message == WM_LBUTTONUP ? seam::kLeftButton : message == WM_RBUTTONUP ? seam::kRightButton
                                                                                         : seam::kMiddleButton;
      if (sink_) sink_->OnMouseUp(button, x, y);
      return;
    }
    default:
      if (sink_) sink_->OnMouseMove(held, x, y);
  }
}

}  // namespace kestrafon::platform::win32
