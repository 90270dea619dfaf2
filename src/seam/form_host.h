#pragma once
// One top-level window as the platform shows it. The core owns the face
// image; the host only presents it and carries out window effects.
#include "seam/image.h"

namespace kestrafon::seam {

enum class WindowState { Normal, Minimised };

struct Point {
  int x = 0, y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

// Mouse buttons, as flags.
inline constexpr int kLeftButton = 1, kRightButton = 2, kMiddleButton = 4;

enum class Key { Enter, PageUp, PageDown, Up, Down, Other };

// What a window reports to the core. Coordinates are face pixels.
class FormEventSink {
 public:
  virtual ~FormEventSink() = default;
  virtual void OnMouseDown(int button, double x, double y) = 0;
  virtual void OnMouseMove(int buttons, double x, double y) = 0;
  virtual void OnMouseUp(int button, double x, double y) = 0;
  virtual void OnKeyDown(Key key) = 0;
  // The window was shown or changed its size or state.
  virtual void OnResize() = 0;
  // The system asks the window to close.
  virtual void OnCloseRequested() = 0;
};

class FormHost {
 public:
  virtual ~FormHost() = default;
  virtual void SetEventSink(FormEventSink* sink) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool IsVisible() const = 0;
  virtual void SetWindowState(WindowState state) = 0;
  // Presents the face; `dirty` is the part that changed since the last present.
  virtual void Present(const Image& face, Rect dirty) = 0;
  // Gives the window a rounded outline: corners of a w x h ellipse.
  virtual void SetRoundedRegion(int width, int height, int ellipseW, int ellipseH) = 0;
  virtual void SetTopMost(bool topMost) = 0;  // also shows a hidden window
  // Outer frame of the window in screen pixels.
  virtual Point Position() const = 0;
  virtual Point OuterSize() const = 0;
  virtual void Move(Point topLeft) = 0;
  // Moves the window with the mouse until the button is released, letting
  // timer ticks run meanwhile; returns only after the release, which is swallowed.
  virtual void DragMove() = 0;
};

}  // namespace kestrafon::seam
