#include "platform/win32/gdi_text_renderer.h"

#include <algorithm>
#include <cstdint>

#include "os/win32/wide_text.h"
#include "skin/layout.h"

namespace kestrafon::platform::win32 {

using os::Narrow;
using os::Widen;
namespace {

// Japanese UI faces in order of preference: those every Japanese Windows
// has, then what a Wine system usually offers through its system fonts.
constexpr const wchar_t* kPreferredFaces[] = {L"Yu Gothic UI", L"Meiryo UI",        L"MS UI Gothic", L"IPAGothic",
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

std::wstring ChooseUiFontFace() {
  HDC dc = GetDC(nullptr);
  // None of them: the system's default GUI font, never a face that is not there.
  std::wstring chosen;
  LOGFONTW fallback{};
  if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback)) chosen = fallback.lfFaceName;
  for (const wchar_t* face : kPreferredFaces) {
    if (HasFace(dc, face)) {
      chosen = face;
      break;
    }
  }
  ReleaseDC(nullptr, dc);
  return chosen;
}

GdiTextRenderer::GdiTextRenderer() : face_(ChooseUiFontFace()) {
  font_ = CreateFontW(-kPixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face_.c_str());
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
  // White on black without smoothing: every lit pixel is a glyph pixel.
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, RGB(255, 255, 255));
  SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  TextOutW(dc_, x - left, y - top, text.c_str(), int(text.size()));
  GdiFlush();
  const std::uint32_t ink = color.Argb();
  for (int row = 0; row < h; ++row) {
    for (int col = 0; col < w; ++col) {
      if (pixels[std::size_t(row) * std::size_t(w) + std::size_t(col)] & 0x00FFFFFFu)
        target.SetPixel(left + col, top + row, ink);
    }
  }
  SelectObject(dc_, oldBitmap);
  DeleteObject(bitmap);
  SelectObject(dc_, oldFont);
}

}  // namespace kestrafon::platform::win32
