#include "app/app_context.h"

namespace kestrafon {

// The playback tick: not built yet.
void frmPlayer::Timer_Timer() {}

}  // namespace kestrafon
