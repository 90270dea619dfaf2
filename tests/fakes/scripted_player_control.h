#pragma once
// A control surface with the face's rules in miniature that records every
// command it is given, for testing the desktop's ways in.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "control/player_control.h"
#include "model/dialog_selection.h"

namespace kestrafon::fakes {

class ScriptedPlayerControl final : public PlayerControl {
 public:
  std::vector<std::string> entries;
  std::int32_t current = 1, knob = 280;
  PlaybackState state = PlaybackState::Stopped;
  double duration = 0, position = 0;
  bool pauseNeedsTwoPresses = false;  // the face's inverted pause toggle
  std::vector<std::string> calls;     // "Play", "PlayEntry 3", "AddSelection a|b", ...
  ControlObserver* observer = nullptr;

  CommandResult Play() override { return Run("Play", CanPlay(), [&] { Start(current); }); }
  CommandResult Pause() override {
    return Run("Pause", CanPause(), [&] {
      if (!std::exchange(pauseNeedsTwoPresses, false)) {
        state = state == PlaybackState::Playing ? PlaybackState::Paused : PlaybackState::Playing;
      }
    });
  }
  CommandResult Stop() override { return Run("Stop", CanStop(), [&] { state = PlaybackState::Stopped; }); }
  CommandResult Next() override { return Run("Next", CanNext(), [&] { Start(current + 1); }); }
  CommandResult Previous() override { return Run("Previous", CanPrevious(), [&] { Start(current - 1); }); }
  CommandResult PlayEntry(std::int32_t n) override {
    return Run("PlayEntry " + std::to_string(n), n >= 1 && n <= EntryCount(), [&] { Start(n); });
  }
  // Moves the position and tells nobody, as the real tick does.
  void Tick() override { position += state == PlaybackState::Playing ? 0.1 : 0; }
  std::int32_t AddSelection(std::string_view selection) override {
    std::string shown(selection);
    std::replace(shown.begin(), shown.end(), '\0', '|');
    const auto parsed = ParseOpenSelection(selection);
    Run("AddSelection " + shown, parsed.has_value(), [&] { entries.insert(entries.end(), parsed->paths.begin(), parsed->paths.end()); });
    return parsed ? std::int32_t(parsed->paths.size()) : 0;
  }
  void SetKnobVolume(std::int32_t x) override { Run("SetKnobVolume " + std::to_string(x), true, [&] { knob = x; }); }

  bool CanPlay() const override { return state != PlaybackState::Playing && !entries.empty(); }
  bool CanPause() const override { return state != PlaybackState::Stopped; }
  bool CanStop() const override { return state != PlaybackState::Stopped; }
  bool CanNext() const override { return CanStop() && current < EntryCount(); }
  bool CanPrevious() const override { return CanStop() && current > 1; }
  PlaybackState State() const override { return state; }
  std::int32_t CurrentEntry() const override { return current; }
  std::int32_t EntryCount() const override { return std::int32_t(entries.size()); }
  std::string CurrentPath() const override { return current <= EntryCount() ? entries[std::size_t(current - 1)] : ""; }
  double DurationSeconds() const override { return duration; }
  double PositionSeconds() const override { return position; }
  std::int32_t KnobVolume() const override { return knob; }
  void SetObserver(ControlObserver* o) override { observer = o; }

 private:
  template <typename Change>
  CommandResult Run(std::string call, bool accepted, Change change) {
    calls.push_back(std::move(call));
    if (!accepted) return CommandResult::Refused;
    change();
    if (observer) observer->OnControlChanged();
    return CommandResult::Done;
  }
  void Start(std::int32_t n) {
    current = n;
    state = PlaybackState::Playing;
    position = 0;
    duration = 12.5;
  }
};

}  // namespace kestrafon::fakes
