#include "app/frm_player.h"

namespace kestrafon {

using namespace skin;

void frmPlayer::DrawButtonPanel() { face_.Draw(kTransportRowReleased); }

void frmPlayer::SetControlButtonPos() { face_.Draw(kTitleButtonsReleased); }

void frmPlayer::DrawOptionPanel() { face_.Draw(kOptionPanelUnlit); }

void frmPlayer::SetVolumeKnob(const std::int32_t& x) {
  face_.Copy(Sheet::Parts, kVolumeKnob, x, kVolumeKnobTop);
  player_.VolumePos(x);
  player_.SetAudioVolume(player_.VolumePos());
}

}  // namespace kestrafon
