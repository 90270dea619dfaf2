#pragma once
// The player's skin-drawing object: the three toggle buttons (playlist,
// repeat, always on top), the two bars, and the time-bar arithmetic that
// grows the fill in whole pixel steps at precomputed seconds.
#include <cstdint>

#include "skin/face.h"

namespace kestrafon {

class modDirectx;

// Window effects the toggles cause, carried out by the player window.
class WindowEffects {
 public:
  virtual ~WindowEffects() = default;
  virtual void ShowPlaylist() = 0;    // loads it first when it is not loaded
  virtual void UnloadPlaylist() = 0;  // nothing when it is not loaded
  virtual bool PlaylistLoaded() const = 0;
  virtual void SetPlayerTopMost(bool topMost) = 0;
  virtual void SetPlaylistTopMost(bool topMost) = 0;
};

class clsWindow {
 public:
  // The drawing methods always draw on the player's face, given here once.
  clsWindow(Face& face, const modDirectx& engine, WindowEffects& effects)
      : face_(face), engine_(engine), effects_(effects) {}

  // Set by GetTimeBar: long track, seconds per pixel and remainder
  // (BarSizeFlg false); short track, pixels per second and remainder (true).
  std::int32_t ans = 0;
  std::int32_t remainder = 0;
  bool BarSizeFlg = false;

  void drawList();
  void drawRepeat();
  void drawFront();
  void drawTimeBar();
  void drawVolumeBar();

  void GetTimeBar();
  // Long tracks: grows the fill by one pixel at the precomputed seconds.
  void SetTimeBarPos(std::int32_t AudioTime, std::int32_t lngAns, std::int32_t lngrem, const bool& timerflag);
  // Short tracks: grows the fill by a few pixels every second.
  void SetTimeBarPosA(std::int32_t AudioTime, const std::int32_t& BarWidth, const std::int32_t& lngrem,
                      const bool& timerflag);

  // Both counter pairs back to their start, for a track change.
  void ResetTimeBarCounters();

 private:
  void DrawFill(std::int32_t width);

  Face& face_;
  const modDirectx& engine_;
  WindowEffects& effects_;
  bool listShown_ = false;
  bool repeatLit_ = false;
  bool topMost_ = false;
  std::int32_t barNextTime_ = 0;
  std::int32_t barPixels_ = 0;
  std::int32_t barSecond_ = 0;
  std::int32_t barFill_ = 0;
};

}  // namespace kestrafon
