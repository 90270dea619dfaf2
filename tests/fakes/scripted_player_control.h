#pragma once
// A control surface that behaves like the face's rules in miniature and
// records every command it was given, for testing the desktop's ways in.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "control/player_control.h"
#include "playlist/dialog_selection.h"

namespace kestrafon::fakes {

class ScriptedPlayerControl final : public PlayerControl {
 public:
  std::vector<std::string> entries;
  std::int32_t current = 1;
  PlaybackState state = PlaybackState::Stopped;
  double duration = 0, position = 0;
  std::int32_t knob = 280;
  // The face's inverted pause: the first toggle after a resume does nothing visible.
  bool pauseNeedsTwoPresses = false;
  std::vector<std::string> calls;  // "Play", "PlayEntry 3", "AddSelection <text>", ...
  ControlObserver* observer = nullptr;

  CommandResult Play() override {
    calls.push_back("Play");
    if (!CanPlay()) return CommandResult::Refused;
    return Start(current);
  }
  CommandResult Pause() override {
    calls.push_back("Pause");
    if (!CanPause()) return CommandResult::Refused;
    if (pauseNeedsTwoPresses) {
      pauseNeedsTwoPresses = false;
    } else {
      state = state == PlaybackState::Playing ? PlaybackState::Paused : PlaybackState::Playing;
    }
    return Changed();
  }
  CommandResult Stop() override {
    calls.push_back("Stop");
    if (!CanStop()) return CommandResult::Refused;
    state = PlaybackState::Stopped;
    position = 0;
    return Changed();
  }
  CommandResult Next() override {
    calls.push_back("Next");
    return CanNext() ? Start(current + 1) : CommandResult::Refused;
  }
  CommandResult Previous() override {
    calls.push_back("Previous");
    return CanPrevious() ? Start(current - 1) : CommandResult::Refused;
  }
  CommandResult PlayEntry(std::int32_t n) override {
    calls.push_back("PlayEntry " + std::to_string(n));
    if (n < 1 || n > EntryCount()) return CommandResult::Refused;
    return Start(n);
  }
  // A tick moves the position and tells nobody, as the real one does.
  void Tick() override {
    if (state == PlaybackState::Playing) position += 0.1;
  }
  std::int32_t AddSelection(std::string_view selection) override {
    std::string shown(selection);
    for (char& c : shown) {
      if (c == '\0') c = '|';
    }
    calls.push_back("AddSelection " + shown);
    const auto parsed = ParseOpenSelection(selection);
    if (!parsed) return 0;
    for (const std::string& path : parsed->paths) entries.push_back(path);
    Changed();
    return std::int32_t(parsed->paths.size());
  }
  void SetKnobVolume(std::int32_t x) override {
    calls.push_back("SetKnobVolume " + std::to_string(x));
    knob = x;
    Changed();
  }

  bool CanPlay() const override { return state != PlaybackState::Playing && !entries.empty(); }
  bool CanPause() const override { return state != PlaybackState::Stopped; }
  bool CanStop() const override { return state != PlaybackState::Stopped; }
  bool CanNext() const override { return state != PlaybackState::Stopped && current < EntryCount(); }
  bool CanPrevious() const override { return state != PlaybackState::Stopped && current > 1; }

  PlaybackState State() const override { return state; }
  std::int32_t CurrentEntry() const override { return current; }
  std::int32_t EntryCount() const override { return std::int32_t(entries.size()); }
  std::string CurrentPath() const override {
    return current >= 1 && current <= EntryCount() ? entries[std::size_t(current - 1)] : std::string();
  }
  double DurationSeconds() const override { return duration; }
  double PositionSeconds() const override { return position; }
  std::int32_t KnobVolume() const override { return knob; }
  void SetObserver(ControlObserver* o) override { observer = o; }

 private:
  CommandResult Start(std::int32_t n) {
    current = n;
    state = PlaybackState::Playing;
    position = 0;
    duration = 12.5;
    return Changed();
  }
  CommandResult Changed() {
    if (observer) observer->OnControlChanged();
    return CommandResult::Done;
  }
};

}  // namespace kestrafon::fakes
