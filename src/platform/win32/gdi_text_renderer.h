#pragma once
// Draws text into a core image with GDI in a Japanese user-interface font at
// 12 pixels, smoothed in grey where the face allows it: a face made to be
// one colour at that size (bitmaps for it, or a table that asks for no
// smoothing there, as IPAGothic has) stays one colour like the rest of the
// art and like the Linux build's text; an outline face made for smoothing
// does not break up into thin strokes.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "seam/text_renderer.h"

namespace kestrafon::platform::win32 {

// The first of the preferred faces that `present` finds, else `fallback`.
std::wstring ChooseUiFontFace(const std::function<bool(const wchar_t*)>& present, std::wstring fallback);
// The same on this system, with its default GUI face as the fallback.
std::wstring ChooseUiFontFace();

// `ink` laid over the pixel `under` (0xAARRGGBB) by `cover` of 255 parts;
// the pixel keeps its alpha.
std::uint32_t BlendInk(std::uint32_t under, Rgb ink, std::uint32_t cover);

class GdiTextRenderer final : public seam::TextRenderer {
 public:
  GdiTextRenderer();
  ~GdiTextRenderer() override;
  GdiTextRenderer(const GdiTextRenderer&) = delete;
  GdiTextRenderer& operator=(const GdiTextRenderer&) = delete;

  void DrawText(Image& target, int x, int y, std::string_view utf8, Rgb color) override;
  const std::wstring& face() const { return face_; }

 private:
  std::wstring face_;
  HFONT font_ = nullptr;
  HDC dc_ = nullptr;
};

}  // namespace kestrafon::platform::win32
