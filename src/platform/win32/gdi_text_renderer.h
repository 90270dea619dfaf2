#pragma once
// Draws text into a core image with GDI in a Japanese user-interface font at
// 12 pixels, without antialiasing, so the glyphs are one colour like the rest
// of the art.
#include <windows.h>

#include <string>

#include "seam/text_renderer.h"

namespace kestrafon::platform::win32 {

// The first of the preferred faces the system has, else the first one.
std::wstring ChooseUiFontFace();

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
