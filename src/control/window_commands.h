#pragma once
// The two window-level things a desktop can ask of the player that are not
// transport: end the program the way the close button does, and bring the
// player back the way the tray icon does (out of the tray, with a loaded
// playlist window).
namespace kestrafon {

class WindowCommands {
 public:
  virtual ~WindowCommands() = default;
  virtual void Quit() = 0;
  virtual void Raise() = 0;
};

}  // namespace kestrafon
