#pragma once
// Named views of the sprite table in skin/layout.h, for code that draws one
// particular sprite. The numbers themselves live only in that table.
#include "skin/layout.h"

namespace kestrafon::skin {

inline constexpr const Sprite& kPrevPressed = SpriteOf(SpriteId::PrevPressed);
inline constexpr const Sprite& kPrevReleased = SpriteOf(SpriteId::PrevReleased);
inline constexpr const Sprite& kPausePressed = SpriteOf(SpriteId::PausePressed);
inline constexpr const Sprite& kPauseReleased = SpriteOf(SpriteId::PauseReleased);
inline constexpr const Sprite& kPlayPressed = SpriteOf(SpriteId::PlayPressed);
inline constexpr const Sprite& kPlayReleased = SpriteOf(SpriteId::PlayReleased);
inline constexpr const Sprite& kStopPressed = SpriteOf(SpriteId::StopPressed);
inline constexpr const Sprite& kStopReleased = SpriteOf(SpriteId::StopReleased);
inline constexpr const Sprite& kNextPressed = SpriteOf(SpriteId::NextPressed);
inline constexpr const Sprite& kNextReleased = SpriteOf(SpriteId::NextReleased);
inline constexpr const Sprite& kTransportRowReleased = SpriteOf(SpriteId::TransportRowReleased);

inline constexpr const Sprite& kMinimisePressed = SpriteOf(SpriteId::MinimisePressed);
inline constexpr const Sprite& kClosePressed = SpriteOf(SpriteId::ClosePressed);
inline constexpr const Sprite& kTitleButtonsReleased = SpriteOf(SpriteId::TitleButtonsReleased);
inline constexpr const Sprite& kOptionPanelUnlit = SpriteOf(SpriteId::OptionPanelUnlit);
inline constexpr const Sprite& kOnTopUnlit = SpriteOf(SpriteId::OnTopUnlit);
inline constexpr const Sprite& kPlaylistUnlit = SpriteOf(SpriteId::PlaylistUnlit);
inline constexpr const Sprite& kRepeatUnlit = SpriteOf(SpriteId::RepeatUnlit);
inline constexpr const Sprite& kOptionPanelLit = SpriteOf(SpriteId::OptionPanelLit);
inline constexpr const Sprite& kOnTopLit = SpriteOf(SpriteId::OnTopLit);
inline constexpr const Sprite& kPlaylistLit = SpriteOf(SpriteId::PlaylistLit);
inline constexpr const Sprite& kRepeatLit = SpriteOf(SpriteId::RepeatLit);
inline constexpr const Sprite& kTimeBarTrack = SpriteOf(SpriteId::TimeBarTrack);
inline constexpr const Sprite& kVolumeBar = SpriteOf(SpriteId::VolumeBar);

// The volume knob and where it first stands.
inline constexpr const Rect& kVolumeKnob = SpriteOf(SpriteId::VolumeKnob).source;
inline constexpr int kVolumeKnobTop = SpriteOf(SpriteId::VolumeKnob).destY;
inline constexpr int kKnobStart = SpriteOf(SpriteId::VolumeKnob).destX;

// The time bar's fill, copied 1 .. kTimeBarLength pixels wide.
inline constexpr const Rect& kTimeBarFill = SpriteOf(SpriteId::TimeBarFill).source;
inline constexpr int kTimeBarFillX = SpriteOf(SpriteId::TimeBarFill).destX;
inline constexpr int kTimeBarFillY = SpriteOf(SpriteId::TimeBarFill).destY;
inline constexpr int kTimeBarLength = kTimeBarFill.w;

}  // namespace kestrafon::skin
