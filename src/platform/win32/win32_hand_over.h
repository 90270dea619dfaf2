#pragma once
// One player per session. The player owns a named mutex in the session's
// namespace and, from right after, a message-only window of a class of
// ours. A later launch hands that window its launch with WM_COPYDATA (no
// files: the player comes to the front) and ends; a launch made while the
// player closes waits for the mutex and becomes the next player.
#include <windows.h>

#include <functional>
#include <vector>

#include "control/launch.h"

namespace kestrafon::platform::win32 {

// Marks a WM_COPYDATA as ours: an encoded Launch.
inline constexpr ULONG_PTR kLaunchTag = 0x4B464C32;
// How long launches are gathered after the last one came: Explorer starts
// a selection's processes within a moment of each other.
inline constexpr UINT kGatherMs = 300;

// The session's mutex, owned while this launch is the player.
class SessionLock {
 public:
  SessionLock();
  ~SessionLock();
  SessionLock(const SessionLock&) = delete;
  SessionLock& operator=(const SessionLock&) = delete;
  bool Owned() const { return owned_; }
  // Waits up to `waitMs` for the player that owns it to let it go.
  bool WaitToOwn(DWORD waitMs);

 private:
  HANDLE mutex_ = nullptr;
  bool owned_ = false;
};

// When this process was started (FILETIME ticks).
std::uint64_t ProcessStartTime();

// Whether this launch is to be the player: true once it owns the session;
// false once a running player took the launch. A launch that can neither
// (a player that does not answer, or one it may not reach) becomes a player
// after `waitMs` all the same, so its files are not lost.
bool ClaimSession(SessionLock& lock, const Launch& launch, DWORD waitMs);

// A later launch's end: hands the launch to the running player, letting it
// come to the front. False when no player took it.
bool HandOverToRunningPlayer(const Launch& launch);

// The running player's end. Launches wait here, their own one too, until
// the player is ready to Serve them; then they are opened in groups, once
// none has come for kGatherMs.
class HandOverWindow {
 public:
  using OnLaunches = std::function<void(std::vector<Launch> ordered)>;
  HandOverWindow();
  ~HandOverWindow();
  HandOverWindow(const HandOverWindow&) = delete;
  HandOverWindow& operator=(const HandOverWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

  void Take(Launch launch);
  void Serve(OnLaunches onLaunches);
  // Takes no more launches (the player is closing): later launches then
  // wait for the session to be free.
  void Close();

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Gather();
  void OpenGathered();
  HWND hwnd_ = nullptr;
  OnLaunches onLaunches_;
  std::vector<Launch> gathered_;
  DWORD firstGatheredAt_ = 0;
};

}  // namespace kestrafon::platform::win32
