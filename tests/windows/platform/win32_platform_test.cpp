// The Win32 side of the seam against the real system (Wine): the window the
// core sees (title, size, outline, presented pixels, mouse and keys, close
// requests, stacking, taskbar style), the tray callback, the ticks, GDI
// text, the artwork decoder and the dialogs' text conversions.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fakes/recording_form_sink.h"
#include "platform/win32/gdi_text_renderer.h"
#include "platform/win32/win32_file_dialogs.h"
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

class PlayerWindow : public testing::Test {
 protected:
  PlayerWindow() : host(Options()) { host.SetEventSink(&sink); }
  static WindowOptions Options() {
    WindowOptions options;
    options.width = 303;
    options.height = 202;
    options.centred = true;
    return options;
  }
  Win32FormHost host;
  fakes::RecordingFormSink sink;
};

TEST_F(PlayerWindow, IsAFramelessPopupNamedForm1OfTheFaceSize) {
  wchar_t title[32] = {};
  GetWindowTextW(host.hwnd(), title, 32);
  EXPECT_STREQ(title, L"Form1");
  const LONG_PTR style = GetWindowLongPtrW(host.hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_FALSE(style & WS_THICKFRAME);
  host.SetVisible(true);
  Pump(50);
  EXPECT_TRUE(host.IsVisible());
  EXPECT_EQ(host.OuterSize(), (Point{303, 202}));
  RECT client{};
  GetClientRect(host.hwnd(), &client);
  EXPECT_EQ(client.right, 303);
  EXPECT_EQ(client.bottom, 202);
  EXPECT_NE(std::find(sink.events.begin(), sink.events.end(), "resize"), sink.events.end());
}

TEST_F(PlayerWindow, TheOutlineCutsTheCornersOnly) {
  host.SetRoundedRegion(303, 202, 20, 20);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(host.hwnd(), region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_FALSE(PtInRegion(region, 301, 1));
  EXPECT_FALSE(PtInRegion(region, 1, 200));
  EXPECT_TRUE(PtInRegion(region, 10, 10));
  EXPECT_TRUE(PtInRegion(region, 150, 0));
  EXPECT_TRUE(PtInRegion(region, 0, 100));
  EXPECT_TRUE(PtInRegion(region, 292, 191));
  DeleteObject(region);
}

TEST_F(PlayerWindow, PresentsOnlyTheDirtyRectangle) {
  Image face(303, 202, 0xFF112233u);
  host.Present(face, {0, 0, 303, 202});
  Image changed = face;
  for (int y = 0; y < 202; ++y)
    for (int x = 0; x < 303; ++x) changed.SetPixel(x, y, 0xFFAABBCCu);
  host.Present(changed, {10, 20, 5, 4});
  EXPECT_EQ(host.PresentedPixel(10, 20), 0xFFAABBCCu);
  EXPECT_EQ(host.PresentedPixel(14, 23), 0xFFAABBCCu);
  EXPECT_EQ(host.PresentedPixel(15, 23), 0xFF112233u);
  EXPECT_EQ(host.PresentedPixel(10, 24), 0xFF112233u);
  EXPECT_EQ(host.PresentedPixel(9, 20), 0xFF112233u);
  // A rectangle reaching past the window is clipped, not refused.
  host.Present(changed, {300, 200, 50, 50});
  EXPECT_EQ(host.PresentedPixel(302, 201), 0xFFAABBCCu);
}

TEST_F(PlayerWindow, MouseKeysAndCloseRequestsReachTheCoreInFacePixels) {
  SendMessageW(host.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(149, 162));
  SendMessageW(host.hwnd(), WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON | MK_SHIFT, MAKELPARAM(150, 163));
  SendMessageW(host.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(151, 164));
  SendMessageW(host.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6));
  std::vector<std::string> expected{"down 1 149,162", "move 5 150,163", "up 1 151,164", "down 2 5,6"};
  for (auto [vk, key] : {std::pair{VK_RETURN, Key::Enter}, {VK_PRIOR, Key::PageUp}, {VK_NEXT, Key::PageDown},
                         {VK_UP, Key::Up}, {VK_DOWN, Key::Down}, {VK_SPACE, Key::Other}, {int('A'), Key::Other}}) {
    SendMessageW(host.hwnd(), WM_KEYDOWN, WPARAM(vk), 0);
    expected.push_back("key " + std::to_string(int(key)));
  }
  SendMessageW(host.hwnd(), WM_CLOSE, 0, 0);
  expected.push_back("close");
  EXPECT_EQ(sink.events, expected);
  EXPECT_TRUE(IsWindow(host.hwnd()));  // the core decides whether to close
}

TEST_F(PlayerWindow, StackingMovesAndTaskbarStyle) {
  host.SetTopMost(true);  // also shows it
  EXPECT_TRUE(host.IsVisible());
  EXPECT_TRUE(GetWindowLongPtrW(host.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  host.SetTopMost(false);
  EXPECT_FALSE(GetWindowLongPtrW(host.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  host.Move({40, 50});
  EXPECT_EQ(host.Position(), (Point{40, 50}));
  host.SetToolWindow(true);
  EXPECT_TRUE(GetWindowLongPtrW(host.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(host.IsVisible());
  host.SetToolWindow(false);
  EXPECT_FALSE(GetWindowLongPtrW(host.hwnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

TEST_F(PlayerWindow, MinimisedWhileHiddenStaysHidden) {
  host.SetVisible(true);
  host.SetWindowState(WindowState::Minimised);
  EXPECT_TRUE(IsIconic(host.hwnd()));
  host.SetVisible(false);
  EXPECT_FALSE(host.IsVisible());
  host.SetVisible(true);
  host.SetWindowState(WindowState::Normal);
  EXPECT_TRUE(host.IsVisible());
  EXPECT_FALSE(IsIconic(host.hwnd()));
}

TEST_F(PlayerWindow, TheTrayCallbackPassesThroughTheWindowProcedure) {
  std::vector<TrayEvent> events;
  Win32Tray tray(host, nullptr, nullptr);
  tray.Add("Kestrafon", [&](TrayEvent e) { events.push_back(e); });
  SendMessageW(host.hwnd(), kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDBLCLK);  // 515
  SendMessageW(host.hwnd(), kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDOWN);    // 513
  EXPECT_EQ(events, (std::vector<TrayEvent>{TrayEvent::LeftDoubleClick, TrayEvent::Other}));
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
           {L"C:\\Music\0b.mp3\0c.mp3\0\0"s, {"C:\\Music/b.mp3", "C:\\Music/c.mp3"}},
           {L"D:\\\0x.mp3\0\u00FC.mp3\0\0"s, {"D:\\x.mp3", "D:\\ü.mp3"}},
           // The answer ends at the first pair of NULs.
           {L"D:\\m\0x.mp3\0\0D:\\stale\0junk\0\0"s, {"D:\\m/x.mp3"}},
           {L"ab"s, {"ab"}},  // no terminator at all
           {L"\0\0"s, {}},
       }) {
    EXPECT_EQ(ChosenPaths(c.buffer.data(), c.buffer.size()), c.paths);
  }
}

}  // namespace
}  // namespace kestrafon::platform::win32
