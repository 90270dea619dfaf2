#pragma once
// The player's three option lamps: the playlist window, repeat and always on
// top. Each press flips its lamp; the playlist and on-top lamps also act on
// the windows.
#include "skin/face.h"

namespace kestrafon {

// What the lamps do to the windows, carried out by the application.
class WindowEffects {
 public:
  virtual ~WindowEffects() = default;
  virtual void ShowPlaylist() = 0;    // loads it first when it is not loaded
  virtual void UnloadPlaylist() = 0;  // nothing when it is not loaded
  virtual bool PlaylistLoaded() const = 0;
  virtual void SetPlayerTopMost(bool topMost) = 0;
  virtual void SetPlaylistTopMost(bool topMost) = 0;
};

class OptionLamps {
 public:
  // The lamps are on the player's face, given here once.
  OptionLamps(Face& face, WindowEffects& effects) : face_(face), effects_(effects) {}

  // Lit: the playlist window shows; unlit: it is unloaded.
  void ToggleList();
  // Only the lamp: the track list holds the repeat mode.
  void ToggleRepeat();
  // Both windows follow the lamp.
  void ToggleTopMost();

 private:
  Face& face_;
  WindowEffects& effects_;
  bool listLit_ = false;
  bool repeatLit_ = false;
  bool topMostLit_ = false;
};

}  // namespace kestrafon
