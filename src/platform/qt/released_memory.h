#pragma once
// Giving memory back once a rare, heavy moment (a file dialog) is over.

namespace kestrafon::platform::qt {

// Returns the heap's free memory to the system and unmaps from this process
// the clean pages of the read-only files it maps (program code, fonts). Those
// pages stay in the page cache: whatever the player still runs or draws
// comes back on its next touch, from memory, as after the kernel reclaimed
// them. Pages a mapping changed privately are never touched.
void ReleaseUnusedMemory();

}  // namespace kestrafon::platform::qt
