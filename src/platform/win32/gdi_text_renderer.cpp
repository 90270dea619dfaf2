#include "platform/win32/gdi_text_renderer.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "os/win32/wide_text.h"
#include "skin/layout.h"

namespace kestrafon::platform::win32 {

using os::Narrow;
using os::Widen;
namespace {

// Japanese UI faces in order of preference. MS UI Gothic has bitmaps made
// for 12 pixels; Meiryo UI and Yu Gothic UI are outlines only, and Yu
// Gothic UI is all a Windows 10 or 11 without the Japanese supplemental
// fonts has. Then what a Wine system offers through its system fonts.
constexpr const wchar_t* kPreferredFaces[] = {L"MS UI Gothic", L"Meiryo UI",        L"Yu Gothic UI", L"IPAGothic",
                                              L"VL Gothic",    L"Noto Sans CJK JP", L"Takao Gothic"};
constexpr int kPixelHeight = skin::kTextPixels;

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool HasFace(HDC dc, const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(dc, &query, &FoundFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

std::uint32_t BlendInk(std::uint32_t under, Rgb ink, std::uint32_t cover) {
  cover = std::min(cover, 255u);
  const auto mix = [&](int shift, std::uint32_t to) {
    const std::uint32_t from = (under >> shift) & 0xFFu;
    return ((from * (255 - cover) + to * cover + 127) / 255) << shift;
  };
  return (under & 0xFF000000u) | mix(16, ink.r) | mix(8, ink.g) | mix(0, ink.b);
}

std::wstring ChooseUiFontFace(const std::function<bool(const wchar_t*)>& present, std::wstring fallback) {
  for (const wchar_t* face : kPreferredFaces) {
    if (present(face)) return face;
  }
  return fallback;
}

std::wstring ChooseUiFontFace() {
  HDC dc = GetDC(nullptr);
  // None of them: the system's default GUI font, never a face that is not there.
  std::wstring fallback;
  LOGFONTW gui{};
  if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui)) fallback = gui.lfFaceName;
  std::wstring chosen = ChooseUiFontFace([dc](const wchar_t* face) { return HasFace(dc, face); }, std::move(fallback));
  ReleaseDC(nullptr, dc);
  return chosen;
}

GdiTextRenderer::GdiTextRenderer() : face_(ChooseUiFontFace()) {
  // Grey, never ClearType: the text stays in the face image, whatever
  // screen or subpixel order shows it later. The face's own tables decide
  // whether 12 pixels are smoothed at all.
  font_ = CreateFontW(-kPixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face_.c_str());
  dc_ = CreateCompatibleDC(nullptr);
}

GdiTextRenderer::~GdiTextRenderer() {
  if (dc_) DeleteDC(dc_);
  if (font_) DeleteObject(font_);
}

void GdiTextRenderer::DrawText(Image& target, int x, int y, std::string_view utf8, Rgb color) {
  const std::wstring text = Widen(utf8);
  if (text.empty() || !dc_ || target.empty()) return;
  HGDIOBJ oldFont = SelectObject(dc_, font_);
  SIZE extent{};
  GetTextExtentPoint32W(dc_, text.c_str(), int(text.size()), &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc_, &metrics);
  // Only the part that lands on the image is rasterised.
  const int left = std::max(x, 0), top = std::max(y, 0);
  const int right = std::min(x + int(extent.cx) + int(metrics.tmOverhang) + 2, target.width());
  const int bottom = std::min(y + std::max(int(extent.cy), int(metrics.tmHeight)), target.height());
  if (left >= right || top >= bottom) {
    SelectObject(dc_, oldFont);
    return;
  }
  const int w = right - left, h = bottom - top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) {
    SelectObject(dc_, oldFont);
    return;
  }
  HGDIOBJ oldBitmap = SelectObject(dc_, bitmap);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  std::fill_n(pixels, std::size_t(w) * std::size_t(h), 0u);
  // White on black: a pixel's grey is how much of it the glyph covers
  // (all or nothing without smoothing).
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, RGB(255, 255, 255));
  SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  TextOutW(dc_, x - left, y - top, text.c_str(), int(text.size()));
  GdiFlush();
  for (int row = 0; row < h; ++row) {
    for (int col = 0; col < w; ++col) {
      const std::uint32_t cover = (pixels[std::size_t(row) * std::size_t(w) + std::size_t(col)] >> 8) & 0xFFu;
      if (cover) target.SetPixel(left + col, top + row, BlendInk(target.Pixel(left + col, top + row), color, cover));
    }
  }
  SelectObject(dc_, oldBitmap);
  DeleteObject(bitmap);
  SelectObject(dc_, oldFont);
}

}  // namespace kestrafon::platform::win32
