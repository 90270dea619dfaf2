// Kestrafon on Windows: builds the Win32 desktop and the DirectShow engine,
// starts the player and runs the message loop.
#include <objbase.h>
#include <windows.h>

#include <cstdlib>

#include "app/app_context.h"
#include "app/start_player.h"
#include "platform/directshow/dshow_media_factory.h"
#include "platform/win32/gdi_text_renderer.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_skin_loader.h"
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

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The face is pixel art: no scaling by the system.
  SetProcessDPIAware();
  // COM once, on this (the user-interface) thread: DirectShow and WIC.
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

  int result = 0;
  {
    const SkinImages skin = platform::win32::LoadSkinImages();
    platform::win32::GdiTextRenderer text;
    // DirectShow starts with the first track, not before the face is shown.
    platform::LazyMediaFramework media(&MakeDirectShowMediaFramework);
    platform::win32::Win32Desktop desktop(
        {LoadProgramIcon(GetSystemMetrics(SM_CXSMICON)), LoadProgramIcon(GetSystemMetrics(SM_CXICON))});
    AppContext ctx(desktop, media, text, skin);
    PlayerWindowCommands windows(ctx);
    StartPlayer(ctx, windows, {{}, TraceStartup()});
    result = desktop.Run();
  }
  if (com) CoUninitialize();
  return result;
}
