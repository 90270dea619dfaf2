#pragma once
// One player per session. The first launch holds a named mutex in the
// session's namespace and a message-only window of a class of ours; a later
// launch finds that window and hands it its files with WM_COPYDATA (or no
// files: then the running player comes to the front), and ends.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrafon::platform::win32 {

// Marks a WM_COPYDATA as ours: files to play ("KFL1"), or to add only ("KFQ1").
inline constexpr ULONG_PTR kHandOverTag = 0x4B464C31;
inline constexpr ULONG_PTR kEnqueueTag = 0x4B465131;

// The bytes of a hand-over: each path in UTF-8, ended by a NUL.
std::string EncodeHandOver(const std::vector<std::string>& paths);
// The paths of a hand-over; nothing when the bytes are not one (an empty
// path, no closing NUL, text that is not UTF-8, more than 16 MiB). Never
// reads past `size`.
std::optional<std::vector<std::string>> DecodeHandOver(const void* data, std::size_t size);

// Whether this is the session's first player: it holds the mutex while it
// lives.
class SessionLock {
 public:
  SessionLock();
  ~SessionLock();
  SessionLock(const SessionLock&) = delete;
  SessionLock& operator=(const SessionLock&) = delete;
  bool First() const { return first_; }

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = true;
};

// The running player's end: files handed over (empty: come to the front),
// and whether to add them only.
class HandOverWindow {
 public:
  using OnFiles = std::function<void(const std::vector<std::string>& paths, bool enqueue)>;
  explicit HandOverWindow(OnFiles onFiles);
  ~HandOverWindow();
  HandOverWindow(const HandOverWindow&) = delete;
  HandOverWindow& operator=(const HandOverWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
  OnFiles onFiles_;
  std::vector<std::pair<std::vector<std::string>, bool>> pending_;
};

// A later launch's end: hands the files to the running player, letting it
// come to the front. False when no player answered within `waitMs` (it may
// still be starting).
bool HandOverToRunningPlayer(const std::vector<std::string>& paths, bool enqueue, DWORD waitMs);

}  // namespace kestrafon::platform::win32
