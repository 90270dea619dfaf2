#include "control/media_keys.h"

namespace kestrafon {

namespace {

void Play(PlayerControl& control) {
  switch (control.State()) {
    case PlaybackState::Stopped: control.Play(); break;
    case PlaybackState::Paused: control.Pause(); break;  // the toggle resumes
    case PlaybackState::Playing: break;
  }
}

void Pause(PlayerControl& control) {
  if (control.State() != PlaybackState::Playing) return;
  control.Pause();
  // Where the face's toggle leaves the track running, a second press pauses it.
  if (control.State() == PlaybackState::Playing) control.Pause();
}

}  // namespace

void PressMediaKey(PlayerControl& control, MediaKey key) {
  switch (key) {
    case MediaKey::PlayPause:
      if (control.State() == PlaybackState::Playing) {
        Pause(control);
      } else {
        Play(control);
      }
      return;
    case MediaKey::Play: Play(control); return;
    case MediaKey::Pause: Pause(control); return;
    case MediaKey::Stop: control.Stop(); return;
    case MediaKey::Next: control.Next(); return;
    case MediaKey::Previous: control.Previous(); return;
  }
}

}  // namespace kestrafon
