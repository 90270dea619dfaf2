// Which face the Windows build draws its text in, and how smoothed text is
// laid into the face image.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "platform/win32/gdi_text_renderer.h"

namespace kestrafon::platform::win32 {
namespace {

TEST(GdiTextFace, TheFirstPreferredFaceTheSystemHas) {
  using Installed = std::set<std::wstring>;
  for (auto [installed, chosen] : {
           std::pair<Installed, std::wstring>{{L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic"}, L"MS UI Gothic"},
           {{L"Yu Gothic UI", L"Meiryo UI"}, L"Meiryo UI"},
           {{L"Yu Gothic UI", L"IPAGothic"}, L"Yu Gothic UI"},  // no Japanese supplemental fonts
           {{L"Noto Sans CJK JP", L"IPAGothic"}, L"IPAGothic"},  // Wine, as on Linux
           {{}, L"Tahoma"}}) {
    EXPECT_EQ(ChooseUiFontFace([&](const wchar_t* face) { return installed.count(face) > 0; }, L"Tahoma"), chosen);
  }
}

TEST(GdiTextFace, SmoothedInkIsBlendedIntoWhatLiesUnder) {
  for (auto [under, ink, cover, shown] : {std::tuple{0xFF0000C0u, Rgb{255, 255, 255}, 255u, 0xFFFFFFFFu},
                                          {0xFF0000C0u, Rgb{255, 255, 255}, 102u, 0xFF6666D9u},
                                          {0x80FF0000u, Rgb{0, 0, 255}, 51u, 0x80CC0033u}}) {
    EXPECT_EQ(BlendInk(under, ink, cover), shown) << std::hex << under << " " << cover;
  }
}

}  // namespace
}  // namespace kestrafon::platform::win32
