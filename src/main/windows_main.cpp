// Kestrafon on Windows: reads the command line, hands its files to a player
// already running in this session, or builds the Win32 desktop and the
// sound stream, starts the player and runs the message loop.
#include <objbase.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/start_player.h"
#include "control/command_line.h"
#include "control/media_keys.h"
#include "control/mpris_player.h"
#include "control/open_files.h"
#include "control/settings_file.h"
#include "model/replay_gain.h"
#include "model/local_files.h"
#include "os/win32/wide_text.h"
#include "platform/win32/gdi_text_renderer.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_file_dialogs.h"
#include "platform/win32/win32_hand_over.h"
#include "platform/win32/win32_media_controls.h"
#include "platform/win32/win32_skin_loader.h"
#include "platform/win32/win32_texts.h"
#include "platform/winsound/winsound_framework.h"
#include "seam/lazy_media_framework.h"

namespace {

using namespace kestrafon;

HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(KESTRAFON_IDI_ICON), IMAGE_ICON,
                                       size, size, LR_DEFAULTCOLOR));
}

bool TraceStartup() {
  const char* trace = std::getenv("KESTRAFON_TRACE_STARTUP");
  return trace && std::atoi(trace) != 0;
}

// The arguments after the program's name, as UTF-8.
std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i) args.push_back(os::Narrow(wide[i]));
  if (wide) LocalFree(wide);
  return args;
}

void Tell(const std::string& text, UINT icon) {
  MessageBoxW(nullptr, os::Widen(text).c_str(), L"Kestrafon", MB_OK | icon);
}

// --help and --version in a message box (there is no console). Returns the
// exit status when the program is done already.
std::optional<int> HandleOptions(const CommandLine& line, const TextBook& texts) {
  switch (line.action) {
    case CommandLine::Action::Run: return std::nullopt;
    case CommandLine::Action::Help: Tell(UsageText(texts, "kestrafon"), MB_ICONINFORMATION); return 0;
    case CommandLine::Action::Version:
      Tell(VersionText(KESTRAFON_VERSION) + "\n\n" + DescribeWindowsSound(), MB_ICONINFORMATION);
      return 0;
    case CommandLine::Action::BadOption: break;
  }
  Tell("kestrafon: " + texts.Say(UiText::UnknownOption, {line.badOption}) + "\n\n" + UsageText(texts, "kestrafon"),
       MB_ICONWARNING);
  return 2;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The face is pixel art, scaled in whole steps by the program itself: the
  // manifest declares it aware of each screen's DPI.
  const CommandLine line = ParseCommandLine(Arguments());
  const TextBook texts = platform::win32::Win32TextBook();
  if (const std::optional<int> done = HandleOptions(line, texts)) return *done;
  const std::string startFolder = os::CurrentFolder();
  CheckedFiles files = CheckFiles(line.files, startFolder);
  const Launch launch{platform::win32::ProcessStartTime(), line.enqueue, std::move(files.paths),
                      std::move(files.skipped)};
  platform::win32::LeaveTheUsersFolders();

  // One player per session: a player already running takes this launch and
  // this process ends.
  platform::win32::SessionLock session;
  if (!platform::win32::ClaimSession(session, launch, 5000)) return 0;
  // Launches made from now on wait in the hand-over window's queue until the
  // player is ready; this one's own files wait there with them, so that a
  // selection opened in Explorer keeps its order whichever process won.
  platform::win32::HandOverWindow handOver;
  if (!launch.files.empty() || !launch.skipped.empty()) handOver.Take(launch);

  const LoadedSettings settings = LoadPlayerSettings(line, texts);

  // COM once, on this (the user-interface) thread: WIC and the media controls.
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  int result = 0;
  {
    const SkinImages skin = platform::win32::LoadSkinImages();
    platform::win32::GdiTextRenderer text;
    // The sound stream starts with the first track, not before the face is shown.
    seam::LazyMediaFramework media(
        [read = TrackReaderBy(settings.settings.replayGain)] { return MakeWindowsSoundFramework(read); });
    platform::win32::Win32Desktop desktop(
        {LoadProgramIcon(GetSystemMetrics(SM_CXSMICON)), LoadProgramIcon(GetSystemMetrics(SM_CXICON))});
    desktop.fileDialogs().StartIn(startFolder);
    AppContext ctx(desktop, media, text, skin, texts);
    PlayerWindowCommands windows(ctx);
    ModalGate& outside = desktop.OutsideCommands();
    // Windows' own media controls where it has them (they follow the player
    // through the same bridge as MPRIS on Linux); the four media keys as hot
    // keys where not.
    auto systemControls = platform::win32::SystemMediaControls::ForWindow(
        desktop.playerWindow(),
        [&ctx, &outside](MediaKey key) { outside.Run([&ctx, key] { PressMediaKey(ctx.control(), key); }); });
    mpris::MprisPlayer mediaBridge(ctx.control(), windows);
    if (systemControls) {
      mediaBridge.SetSink(systemControls.get());
      systemControls->Show(mediaBridge.Now());
    } else {
      desktop.UseMediaHotKeys();
    }
    StartPlayer(ctx, windows, {{}, {}, false, TraceStartup()});
    // A settings file that could not be read is said once the player shows.
    if (!settings.problem.empty()) {
      outside.Run([&desktop, &settings] { desktop.Dialogs().ShowMessage("Kestrafon", settings.problem); });
    }
    // Launches are opened as a command line's files are: with files, added
    // and played (or only added); without, the player comes back, out of
    // the tray if need be.
    handOver.Serve([&ctx, &windows, &desktop, &outside](std::vector<Launch> launches) {
      outside.Run([&ctx, &windows, &desktop, launches = std::move(launches)] {
        OpenLaunches(ctx.control(), windows, desktop.Dialogs(), ctx.texts(), launches);
      });
    });
    result = desktop.Run();
    handOver.Close();
  }
  if (com) CoUninitialize();
  return result;
}
