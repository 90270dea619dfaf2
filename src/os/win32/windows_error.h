#pragma once
// The reasons the system gives for a failed file call, as the errno values
// the rest of the player speaks (the failed-save message names them).
#include <windows.h>

namespace kestrafon::os {

int ErrnoFromWindowsError(DWORD error);

}  // namespace kestrafon::os
