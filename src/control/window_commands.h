#pragma once
// The window-level things the desktop's ways in need besides the control
// surface: end the program the way the close button does, bring the player
// back the way the tray icon does (out of the tray, with a loaded playlist
// window), and repaint the list rows after files were added, as Add does.
namespace kestrafon {

class WindowCommands {
 public:
  virtual ~WindowCommands() = default;
  virtual void Quit() = 0;
  virtual void Raise() = 0;
  virtual void PaintRows() = 0;
};

}  // namespace kestrafon
