// Screens of different dots per inch: where the playlist window docks once
// the player has moved to another screen, and the size a window asks for
// before the system moves it there.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "app/app_context.h"
#include "platform/win32/gdi_text_renderer.h"
#include "platform/win32/win32_desktop.h"
#include "skin/layout.h"

namespace kestrafon::platform::win32 {
namespace {

struct NoMedia : seam::MediaFramework {
  std::unique_ptr<seam::MediaGraph> CreateGraph(seam::GraphEvents&) override { return nullptr; }
};

TEST(DpiDocking, TheListDocksAgainstThePlayersRightEdgeInScreenPixels) {
  // The player moves to a screen of `dpi`; the list opens on the system's 96.
  for (const UINT dpi : {96u, 192u, 288u}) {
    const int s = ScaleForDpi(dpi);
    Win32Desktop desktop({});
    HWND player = desktop.playerWindow().hwnd();
    const RECT suggested{200 * s, 50 * s, (200 + skin::kFaceWidth) * s, (50 + skin::kFaceHeight) * s};
    SendMessageW(player, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT shown{};
    GetWindowRect(player, &shown);
    EXPECT_TRUE(EqualRect(&shown, &suggested)) << dpi << ": the suggested rectangle, as given";

    SkinImages skin;
    for (const BuiltInImage& image : kBuiltInImages) skin.*image.slot = Image(400, 400, 0xFF000000u);
    NoMedia media;
    GdiTextRenderer text;
    AppContext app(desktop, media, text, skin);
    app.playlistWindow().Load();
    ASSERT_NE(desktop.playlistWindow(), nullptr);
    RECT list{};
    GetWindowRect(desktop.playlistWindow()->hwnd(), &list);
    EXPECT_EQ(std::tuple(list.left, list.top, list.right - list.left),
              std::tuple(suggested.right, suggested.top, LONG(skin::kListWidth))) << dpi;
  }
}

TEST(DpiDocking, AWindowAsksForItsFaceAtAWholeFactorOfTheNewScreen) {
  WindowOptions options;
  options.width = 303;
  options.height = 202;
  Win32FormHost host(options);
  for (auto [dpi, w, h] : {std::tuple{120u, 303, 202}, {144u, 606, 404}, {288u, 909, 606}}) {
    SIZE size{1, 1};
    EXPECT_EQ(SendMessageW(host.hwnd(), kGetDpiScaledSizeMessage, dpi, reinterpret_cast<LPARAM>(&size)), TRUE);
    EXPECT_EQ(std::tuple(size.cx, size.cy), std::tuple(LONG(w), LONG(h))) << dpi;
  }
  EXPECT_EQ(host.scale(), 1) << "asking changes nothing yet";
}

}  // namespace
}  // namespace kestrafon::platform::win32
