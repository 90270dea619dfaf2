// The Win32 side of the seam against the real system (Wine): the window the
// core sees (title, size, outline, presented pixels, mouse and keys, close
// requests, stacking, taskbar style), the tray callback, the ticks, GDI
// text, the artwork decoder and the dialogs' text conversions.
#include <objbase.h>
#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "contracts/form_host_contract.h"
#include "fakes/recording_form_sink.h"
#include "fixtures/scratch_files.h"
#include "os/win32/wide_text.h"
#include "platform/win32/gdi_text_renderer.h"
#include "platform/win32/win32_file_dialogs.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_form_host.h"
#include "platform/win32/win32_skin_loader.h"
#include "platform/win32/win32_tick_source.h"
#include "platform/win32/win32_tray.h"

namespace kestrafon::platform::win32 {
namespace {

// Pumps the thread's messages for a while.
void Pump(DWORD ms) {
  const DWORD until = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  } while (int(until - GetTickCount()) > 0);
}

WindowOptions PlayerSized() {
  WindowOptions options;
  options.width = 303;
  options.height = 202;
  options.centred = true;
  return options;
}

WPARAM MouseKeys(int buttons) {
  WPARAM keys = 0;
  if (buttons & seam::kLeftButton) keys |= MK_LBUTTON;
  if (buttons & seam::kRightButton) keys |= MK_RBUTTON;
  if (buttons & seam::kMiddleButton) keys |= MK_MBUTTON;
  return keys;
}

UINT ButtonMessage(int button, bool down) {
  if (button & seam::kRightButton) return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
  if (button & seam::kMiddleButton) return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
  return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
}

// The form-host contract on Wine's windows.
struct Win32Windows {
  using Host = Win32FormHost;
  static std::unique_ptr<Host> Make() { return std::make_unique<Win32FormHost>(PlayerSized()); }
  static std::uint32_t Shown(Host& h, int x, int y) { return h.PresentedPixel(x, y); }
  static bool InOutline(Host& h, int x, int y) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool inside = GetWindowRgn(h.hwnd(), region) != ERROR && PtInRegion(region, x, y);
    DeleteObject(region);
    return inside;
  }
  static bool TopMost(Host& h) { return GetWindowLongPtrW(h.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST; }
  static bool Minimised(Host& h) { return IsIconic(h.hwnd()); }
  static std::string Title(Host& h) {
    wchar_t title[32] = {};
    GetWindowTextW(h.hwnd(), title, 32);
    return os::Narrow(title);
  }
  static void Press(Host& h, int button, int x, int y) {
    SendMessageW(h.hwnd(), ButtonMessage(button, true), MouseKeys(button), MAKELPARAM(x, y));
  }
  static void Move(Host& h, int buttons, int x, int y) {
    SendMessageW(h.hwnd(), WM_MOUSEMOVE, MouseKeys(buttons) | MK_SHIFT, MAKELPARAM(x, y));
  }
  static void Release(Host& h, int button, int x, int y) {
    SendMessageW(h.hwnd(), ButtonMessage(button, false), 0, MAKELPARAM(x, y));
  }
  static void KeyDown(Host& h, int key) { SendMessageW(h.hwnd(), WM_KEYDOWN, WPARAM(key), 0); }
  static inline const std::vector<std::pair<int, seam::Key>> kKeys{
      {VK_RETURN, seam::Key::Enter}, {VK_PRIOR, seam::Key::PageUp}, {VK_NEXT, seam::Key::PageDown}, {VK_UP, seam::Key::Up},
      {VK_DOWN, seam::Key::Down},    {VK_SPACE, seam::Key::Other},  {int('A'), seam::Key::Other}};
  static void RequestClose(Host& h) { SendMessageW(h.hwnd(), WM_CLOSE, 0, 0); }
  static void Settle() { Pump(50); }
};

}  // namespace
}  // namespace kestrafon::platform::win32

namespace kestrafon::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FormHostContract, platform::win32::Win32Windows);
}  // namespace kestrafon::contracts

namespace kestrafon::platform::win32 {
namespace {

class PlayerWindow : public testing::Test {
 protected:
  PlayerWindow() : host(PlayerSized()) { host.SetEventSink(&sink); }
  Win32FormHost host;
  fakes::RecordingFormSink sink;
};

TEST_F(PlayerWindow, IsAFramelessPopup) {
  const LONG_PTR style = GetWindowLongPtrW(host.hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_THICKFRAME);
  host.SetVisible(true);
  Pump(50);
  RECT client{};
  GetClientRect(host.hwnd(), &client);
  EXPECT_EQ(client.right, 303);
  EXPECT_EQ(client.bottom, 202);
}

TEST_F(PlayerWindow, TaskbarStyleKeepsTheWindowShown) {
  host.SetVisible(true);
  host.SetToolWindow(true);
  EXPECT_TRUE(GetWindowLongPtrW(host.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(host.IsVisible());
  host.SetToolWindow(false);
  EXPECT_FALSE(GetWindowLongPtrW(host.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

TEST_F(PlayerWindow, MinimisedWhileHiddenStaysHidden) {
  host.SetVisible(true);
  host.SetWindowState(seam::WindowState::Minimised);
  EXPECT_TRUE(IsIconic(host.hwnd()));
  host.SetVisible(false);
  EXPECT_FALSE(host.IsVisible());
  host.SetVisible(true);
  host.SetWindowState(seam::WindowState::Normal);
  EXPECT_TRUE(host.IsVisible());
  EXPECT_FALSE(IsIconic(host.hwnd()));
}

TEST_F(PlayerWindow, LogOffClosesAsTheCloseButtonDoes) {
  EXPECT_EQ(SendMessageW(host.hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  SendMessageW(host.hwnd(), WM_ENDSESSION, FALSE, 0);  // the log-off was called off
  EXPECT_TRUE(sink.events.empty());
  SendMessageW(host.hwnd(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(sink.events, std::vector<std::string>{"close"});
}

TEST_F(PlayerWindow, TheListKeysActWithAltHeldAndOtherAltKeysStayTheSystems) {
  for (WPARAM vk : {WPARAM(VK_DOWN), WPARAM(VK_PRIOR), WPARAM(VK_RETURN), WPARAM('A')})
    SendMessageW(host.hwnd(), WM_SYSKEYDOWN, vk, LPARAM(1) << 29);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"key " + std::to_string(int(seam::Key::Down)),
                                                    "key " + std::to_string(int(seam::Key::PageUp)),
                                                    "key " + std::to_string(int(seam::Key::Enter))}));
}

// Shell_NotifyIconW as a tray that is not there until told otherwise.
struct FakeShell {
  bool trayUp = false;
  std::vector<DWORD> calls;
  ShellNotify Call() {
    return [this](DWORD message, NOTIFYICONDATAW*) {
      calls.push_back(message);
      return BOOL(message != NIM_ADD || trayUp);
    };
  }
};

TEST_F(PlayerWindow, TheTrayIconComesBackWhenExplorerStartsAgain) {
  FakeShell shell;
  std::vector<bool> presence;
  Win32Tray tray(host, nullptr, [&](bool shown) { presence.push_back(shown); }, shell.Call());
  EXPECT_FALSE(tray.Add("Kestrafon", [](seam::TrayEvent) {}));  // no tray at logon yet
  EXPECT_FALSE(tray.HasIcon());
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  shell.trayUp = true;
  SendMessageW(host.hwnd(), taskbarCreated, 0, 0);
  EXPECT_TRUE(tray.HasIcon());
  SendMessageW(host.hwnd(), taskbarCreated, 0, 0);  // Explorer crashed and came back
  EXPECT_TRUE(tray.HasIcon());
  EXPECT_EQ(shell.calls, (std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_ADD}));
  // Taking the icon away on the way out leaves the windows' taskbar style alone.
  tray.Remove();
  EXPECT_FALSE(tray.HasIcon());
  EXPECT_EQ(presence, (std::vector<bool>{false, true, true}));
  SendMessageW(host.hwnd(), taskbarCreated, 0, 0);
  EXPECT_EQ(shell.calls.back(), DWORD(NIM_DELETE)) << "a removed icon stays away";
}

// A drop of `paths` as Explorer makes it: a DROPFILES block with wide names.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
  std::wstring names;
  for (const std::wstring& path : paths) names += path + L'\0';
  names += L'\0';
  const std::size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES)));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(PlayerWindow, DroppedFilesReachTheCoreAndFoldersDoNot) {
  fixtures::TempDir dir("kestrafon-drop-");
  const std::string song = dir.path() + "\\曲.mp3";
  fixtures::WriteBytes(song, "x");
  std::vector<std::vector<std::string>> drops;
  host.SetFilesDroppedHandler([&](const std::vector<std::string>& paths) { drops.push_back(paths); });
  SendMessageW(host.hwnd(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({os::Widen(dir.path()), os::Widen(song), L"C:\\no\\such.mp3"})), 0);
  SendMessageW(host.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({os::Widen(dir.path())})), 0);
  EXPECT_EQ(drops, std::vector<std::vector<std::string>>{{song}}) << "only files; nothing for a drop of none";
}

TEST_F(PlayerWindow, MediaKeysReachTheCore) {
  std::vector<seam::MediaKey> keys;
  host.SetMediaKeyHandler([&](seam::MediaKey key) { keys.push_back(key); });
  for (int command : {APPCOMMAND_MEDIA_PLAY_PAUSE, APPCOMMAND_MEDIA_STOP, APPCOMMAND_MEDIA_NEXTTRACK,
                      APPCOMMAND_MEDIA_PREVIOUSTRACK}) {
    EXPECT_EQ(SendMessageW(host.hwnd(), WM_APPCOMMAND, WPARAM(host.hwnd()), MAKELPARAM(0, command)), TRUE);
  }
  SendMessageW(host.hwnd(), WM_APPCOMMAND, WPARAM(host.hwnd()), MAKELPARAM(0, APPCOMMAND_BROWSER_BACKWARD));
  EXPECT_EQ(keys, (std::vector<seam::MediaKey>{seam::MediaKey::PlayPause, seam::MediaKey::Stop, seam::MediaKey::Next, seam::MediaKey::Previous}));
}

TEST(MediaKeys, TheKeyboardsMediaKeysReachThePlayerInTheTrayToo) {
  Win32Desktop desktop({});
  std::vector<seam::MediaKey> keys;
  desktop.SetMediaKeyHandler([&](seam::MediaKey key) { keys.push_back(key); });
  desktop.UseMediaHotKeys();
  // As the system sends a registered hot key, whether or not the window is shown.
  for (WPARAM id : {WPARAM(1), WPARAM(4), WPARAM(9)}) SendMessageW(desktop.playerWindow().hwnd(), WM_HOTKEY, id, 0);
  EXPECT_EQ(keys, (std::vector<seam::MediaKey>{seam::MediaKey::PlayPause, seam::MediaKey::Previous}));
}

TEST_F(PlayerWindow, MovingToAScreenOfMoreDotsPerInchDoublesTheWindowNotTheFace) {
  host.SetVisible(true);
  host.Move({40, 50});
  host.SetRoundedRegion(303, 202, 20, 20);
  Pump(50);
  const RECT suggested{80, 100, 80 + 606, 100 + 404};
  SendMessageW(host.hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  RECT client{};
  GetClientRect(host.hwnd(), &client);
  EXPECT_EQ(client.right, 606);
  EXPECT_EQ(client.bottom, 404);
  EXPECT_EQ(host.scale(), 2);
  EXPECT_EQ(host.OuterSize(), (seam::Point{606, 404})) << "geometry in screen pixels";
  EXPECT_EQ(host.Position(), (seam::Point{80, 100}));
  EXPECT_TRUE(Win32Windows::InOutline(host, 10, 10));
  EXPECT_FALSE(Win32Windows::InOutline(host, 1, 1)) << "the corner's stairs are doubled";
  sink.events.clear();
  SendMessageW(host.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(301, 321));
  EXPECT_EQ(sink.events, std::vector<std::string>{"down 1 150,160"}) << "the mouse in face pixels";
}

TEST(Scale, WholeFactorsRoundedAsOnLinux) {
  for (auto [dpi, scale] : {std::pair{0u, 1}, {96u, 1}, {120u, 1}, {143u, 1}, {144u, 2}, {192u, 2}, {288u, 3}})
    EXPECT_EQ(ScaleForDpi(dpi), scale) << dpi;
}

TEST_F(PlayerWindow, TheTrayCallbackPassesThroughTheWindowProcedure) {
  std::vector<seam::TrayEvent> events;
  Win32Tray tray(host, nullptr, nullptr);
  tray.Add("Kestrafon", [&](seam::TrayEvent e) { events.push_back(e); });
  SendMessageW(host.hwnd(), kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDBLCLK);  // 515
  SendMessageW(host.hwnd(), kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDOWN);    // 513
  EXPECT_EQ(events, (std::vector<seam::TrayEvent>{seam::TrayEvent::LeftDoubleClick, seam::TrayEvent::Other}));
}

TEST(Ticks, ComeWhileArmedAndStopAtZero) {
  Win32TickSource ticks;
  int count = 0;
  ticks.SetHandler([&] { ++count; });
  Pump(100);
  EXPECT_EQ(count, 0);  // not armed yet
  ticks.Arm(20);
  Pump(400);
  EXPECT_GE(count, 3);
  ticks.Arm(0);
  Pump(30);
  const int stopped = count;
  Pump(200);
  EXPECT_EQ(count, stopped);
}

TEST(GdiText, DrawsOneColourIntoTheImageWithoutSmoothing) {
  GdiTextRenderer text;
  EXPECT_FALSE(text.face().empty()) << "a face that is there, or the default GUI font's";
  Image panel(137, 33, 0xFF000000u);
  text.DrawText(panel, 3, 10, "テスト 12:34", Rgb{255, 255, 255});
  int ink = 0;
  for (int y = 0; y < 33; ++y) {
    for (int x = 0; x < 137; ++x) {
      const std::uint32_t p = panel.Pixel(x, y);
      ASSERT_TRUE(p == 0xFF000000u || p == 0xFFFFFFFFu) << x << "," << y;  // no grey edges
      if (p == 0xFFFFFFFFu) {
        ++ink;
        EXPECT_GE(y, 10);  // anchored at the top-left corner
        EXPECT_LT(y, 10 + 16);
        EXPECT_GE(x, 3);
      }
    }
  }
  EXPECT_GT(ink, 30);
  // Text that starts beyond the image leaves it alone.
  Image untouched(20, 20, 0xFF000000u);
  text.DrawText(untouched, 30, 30, "abc", Rgb{255, 255, 255});
  EXPECT_EQ(untouched, Image(20, 20, 0xFF000000u));
}

TEST(Artwork, DecodesPngIntoCoreImages) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const char* dir = std::getenv("KESTRAFON_WIN_ASSETS");
  ASSERT_NE(dir, nullptr);
  std::ifstream in(std::string(dir) + "\\buttons.png", std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const Image sheet = DecodeImage(bytes.str());
  EXPECT_EQ(sheet.width(), 260);
  EXPECT_EQ(sheet.height(), 70);
  EXPECT_EQ(sheet.Pixel(0, 0) >> 24, 0xFFu);  // opaque
  EXPECT_TRUE(DecodeImage("not an image").empty());
  EXPECT_TRUE(DecodeImage("").empty());
  CoUninitialize();
}

TEST(FileDialogText, FiltersAndExtensionsInTheDialogsForm) {
  EXPECT_EQ(FilterList("mp3(*.mp3)|*.mp3|KFLﾌｧｲﾙ (*.kfl)|*.kfl"),
            std::wstring(L"mp3(*.mp3)\0*.mp3\0KFL\uFF8C\uFF67\uFF72\uFF99 (*.kfl)\0*.kfl\0\0", 40));
  EXPECT_EQ(DefaultExtension(".kfl"), L"kfl");
  EXPECT_EQ(DefaultExtension(""), L"");
}

TEST(FileDialogText, AnswersBecomeFullUtf8Paths) {
  struct Case {
    std::wstring buffer;
    std::vector<std::string> paths;
  };
  using namespace std::string_literals;
  for (const Case& c : std::initializer_list<Case>{
           {L"C:\\Music\\\u30C8\uD55C.mp3\0\0"s, {"C:\\Music\\ト한.mp3"}},
           // Joined with the folder's own separator, as a single choice is written.
           {L"C:\\Music\0b.mp3\0c.mp3\0\0"s, {"C:\\Music\\b.mp3", "C:\\Music\\c.mp3"}},
           {L"D:\\\0x.mp3\0\u00FC.mp3\0\0"s, {"D:\\x.mp3", "D:\\ü.mp3"}},
           // The answer ends at the first pair of NULs.
           {L"D:\\m\0x.mp3\0\0D:\\stale\0junk\0\0"s, {"D:\\m\\x.mp3"}},
           {L"ab"s, {"ab"}},  // no terminator at all
           {L"\0\0"s, {}},
       }) {
    EXPECT_EQ(ChosenPaths(c.buffer.data(), c.buffer.size()), c.paths);
  }
}

}  // namespace
}  // namespace kestrafon::platform::win32
