#pragma once
// A window's retained face and the sheets its sprites come from. Every
// change is a rectangle copy; the face remembers which part changed since it
// was last presented, so presenting sends only that.
#include "seam/image.h"
#include "seam/skin_images.h"
#include "skin/sheet_map.h"

namespace kestrafon {

class Face {
 public:
  Face(int width, int height, const Image& background, const Image& buttons, const Image& parts);

  // Copies a sprite to its destination on the face.
  void Draw(const skin::Sprite& sprite) { Copy(sprite.sheet, sprite.source, sprite.destX, sprite.destY); }
  void Copy(skin::Sheet sheet, Rect source, int destX, int destY);
  // Copies a whole image (a text panel) onto the face.
  void Put(const Image& panel, int destX, int destY);

  const Image& image() const { return image_; }
  // Direct access for text output; the caller marks what it changed.
  Image& pixels() { return image_; }

  void MarkDirty(Rect area);
  // The part changed since the last call, and forgets it.
  Rect TakeDirty();

 private:
  const Image& buttons_;
  const Image& parts_;
  Image image_;
  Rect dirty_;
};

}  // namespace kestrafon
