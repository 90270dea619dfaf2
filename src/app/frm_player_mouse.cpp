#include "app/app_context.h"

namespace kestrafon {

// Face buttons: not built yet.
void frmPlayer::Form_MouseDown(int, double, double) {}
void frmPlayer::Form_MouseMove(int, double, double) {}
void frmPlayer::Form_MouseUp(int, double, double) {}

}  // namespace kestrafon
