#include "skin/face.h"

#include <algorithm>

namespace kestrafon {

Face::Face(int width, int height, const Image& background, const Image& buttons, const Image& parts)
    : buttons_(buttons), parts_(parts), image_(width, height) {
  CopyImage(image_, 0, 0, background);
  dirty_ = {0, 0, width, height};
}

void Face::Copy(skin::Sheet sheet, Rect source, int destX, int destY) {
  CopyRect(image_, destX, destY, sheet == skin::Sheet::Buttons ? buttons_ : parts_, source.x, source.y, source.w,
           source.h);
  MarkDirty({destX, destY, source.w, source.h});
}

void Face::Put(const Image& panel, int destX, int destY) {
  CopyImage(image_, destX, destY, panel);
  MarkDirty({destX, destY, panel.width(), panel.height()});
}

void Face::MarkDirty(Rect area) {
  // Clip to the face, then grow the dirty rectangle to cover it.
  const int x0 = std::max(area.x, 0), y0 = std::max(area.y, 0);
  const int x1 = std::min(area.x + area.w, image_.width()), y1 = std::min(area.y + area.h, image_.height());
  if (x1 <= x0 || y1 <= y0) return;
  if (dirty_.w == 0 || dirty_.h == 0) {
    dirty_ = {x0, y0, x1 - x0, y1 - y0};
    return;
  }
  const int dx0 = std::min(dirty_.x, x0), dy0 = std::min(dirty_.y, y0);
  const int dx1 = std::max(dirty_.x + dirty_.w, x1), dy1 = std::max(dirty_.y + dirty_.h, y1);
  dirty_ = {dx0, dy0, dx1 - dx0, dy1 - dy0};
}

Rect Face::TakeDirty() {
  const Rect taken = dirty_;
  dirty_ = {};
  return taken;
}

}  // namespace kestrafon
