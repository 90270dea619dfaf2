// One player per session, as Windows starts it: launches made together,
// launches made while the player closes, and modal loops that must not run
// another command in the middle of theirs.
#include <windows.h>
// after windows.h
#include <commdlg.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

#include "fixtures/scratch_files.h"
#include "model/local_files.h"
#include "os/win32/wide_text.h"
#include "platform/win32/win32_file_dialogs.h"
#include "platform/win32/win32_hand_over.h"

namespace kestrafon::platform::win32 {
namespace {

using ::testing::ElementsAre;

// Pumps this thread's messages until `done` or a few seconds have passed.
template <typename Done>
void PumpUntil(Done done, DWORD ms = 3000) {
  const ULONGLONG until = GetTickCount64() + ms;
  MSG msg;
  while (!done() && GetTickCount64() < until) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
}

Launch Play(std::uint64_t startedAt, std::string file) { return {startedAt, false, {std::move(file)}, {}}; }

TEST(HandOver, LaunchesMadeTogetherOpenAsOneListInTheOrderTheyWereMade) {
  HandOverWindow player;
  std::vector<std::vector<Launch>> opened;
  player.Take(Play(2, "Z:\\a2.mp3"));  // the player's own launch, which won the race
  player.Serve([&](std::vector<Launch> launches) { opened.push_back(std::move(launches)); });
  for (std::uint64_t at : {5, 4, 3, 1}) EXPECT_TRUE(HandOverToRunningPlayer(Play(at, "Z:\\a" + std::to_string(at) + ".mp3")));
  COPYDATASTRUCT foreign{42, 0, nullptr};  // someone else's WM_COPYDATA
  EXPECT_EQ(SendMessageW(player.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&foreign)), FALSE);
  PumpUntil([&] { return !opened.empty(); });
  EXPECT_THAT(opened, ElementsAre(ElementsAre(
                          Launch{1, false, {"Z:\\a1.mp3", "Z:\\a2.mp3", "Z:\\a3.mp3", "Z:\\a4.mp3", "Z:\\a5.mp3"}, {}})));
}

TEST(HandOver, LaunchesMadeWhileThePlayerClosesMakeOnePlayerThatTakesTheOthers) {
  std::optional<SessionLock> closing(std::in_place);  // owns the session, takes no launches
  ASSERT_TRUE(closing->Owned());
  std::atomic<int> players{0};
  std::mutex lock;
  std::vector<Launch> opened;
  const auto launch = [&](Launch mine) {
    SessionLock session;
    if (!ClaimSession(session, mine, 5000)) return;
    ++players;
    HandOverWindow player;
    player.Take(mine);
    bool done = false;
    player.Serve([&](std::vector<Launch> launches) {
      const std::lock_guard<std::mutex> hold(lock);
      opened.insert(opened.end(), launches.begin(), launches.end());
      done = true;
    });
    PumpUntil([&] { return done; });
  };
  std::thread first(launch, Play(1, "Z:\\a.mp3")), second(launch, Play(2, "Z:\\b.mp3"));
  Sleep(300);
  closing.reset();
  first.join();
  second.join();
  EXPECT_EQ(players, 1);
  EXPECT_THAT(opened, ElementsAre(Launch{1, false, {"Z:\\a.mp3", "Z:\\b.mp3"}, {}}));
}

// What the open dialog's test sees while the dialog is up.
struct DialogProbe {
  ModalGate* gate = nullptr;
  bool queued = false;
  bool ranInside = false;
  std::string folder;  // where the dialog opened
};
DialogProbe* probe = nullptr;

void CALLBACK CancelTheDialog(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowW(L"#32770", L"Kestrafon hand-over test");
  if (!dialog || !probe) return;
  if (!probe->queued) {
    probe->queued = true;
    wchar_t folder[MAX_PATH] = L"";
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    probe->folder = os::Narrow(folder);
    probe->gate->Run([seen = probe] { seen->ranInside = true; });
  }
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST(HandOver, TheOpenDialogStartsWhereTheProgramWasStartedHoldsOutsideCommandsAndLeavesNoFolderHeld) {
  fixtures::TempDir music("kestrafon-cwd-"), elsewhere("kestrafon-held-");
  ASSERT_TRUE(SetCurrentDirectoryW(os::Widen(music.path()).c_str()));
  const std::string startedIn = os::CurrentFolder();
  // Some folder is current when the dialog opens (as after a dialog that moved it).
  ASSERT_TRUE(SetCurrentDirectoryW(os::Widen(elsewhere.path()).c_str()));
  int wakes = 0;
  ModalGate gate([&] { ++wakes; });
  DialogProbe seen;
  seen.gate = &gate;
  probe = &seen;
  Win32FileDialogs dialogs(&gate);
  dialogs.StartIn(startedIn);
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, &CancelTheDialog);
  EXPECT_TRUE(dialogs.ShowOpen({"Kestrafon hand-over test", "MP3|*.mp3", "", "", true, false}).empty());
  KillTimer(nullptr, timer);
  probe = nullptr;

  ASSERT_TRUE(seen.queued);
  EXPECT_EQ(seen.folder, startedIn) << "a dialog given no folder opens where the program was started";
  EXPECT_FALSE(seen.ranInside) << "a command ran inside the dialog";
  EXPECT_EQ(wakes, 1);
  gate.Drain();
  EXPECT_TRUE(seen.ranInside);
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  const std::string folder = os::Narrow(program);
  EXPECT_EQ(os::CurrentFolder() + "\\", folder.substr(0, folder.find_last_of('\\') + 1));
}

}  // namespace
}  // namespace kestrafon::platform::win32
