#include "windows/player_window.h"

namespace kestrafon {

using namespace skin;

void PlayerWindow::DrawTransportRow() { face_.Draw(kTransportRowReleased); }

void PlayerWindow::DrawTitleButtons() { face_.Draw(kTitleButtonsReleased); }

void PlayerWindow::DrawOptionPanel() { face_.Draw(kOptionPanelUnlit); }

void PlayerWindow::DrawKnob(std::int32_t x) { face_.Copy(Sheet::Parts, kVolumeKnob, x, kVolumeKnobTop); }

void PlayerWindow::DrawVolumeKnob(double level) { DrawKnob(KnobOfLevel(level)); }

}  // namespace kestrafon
