// Kestrafon for Windows: wires the Win32 desktop, the DirectShow engine and
// the skin to the core, shows the player and runs the message loop.
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/app_context.h"
#include "platform/directshow/dshow_media_factory.h"
#include "platform/lazy_media_framework.h"
#include "platform/win32/gdi_text_renderer.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_skin_loader.h"

namespace {

using namespace kestrafon;

HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(KESTRAFON_IDI_ICON), IMAGE_ICON,
                                       size, size, LR_DEFAULTCOLOR));
}

// Test and benchmark hook: a line when the first frame is on screen.
std::function<void()> FirstPaintHook() {
  const char* trace = std::getenv("KESTRAFON_TRACE_STARTUP");
  if (!trace || std::atoi(trace) == 0) return {};
  return [] {
    std::fputs("kestrafon: first frame presented\n", stderr);
    std::fflush(stderr);
  };
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
    platform::win32::Win32Desktop desktop({LoadProgramIcon(GetSystemMetrics(SM_CXSMICON)), FirstPaintHook()});
    AppContext ctx(desktop, media, text, skin);
    ctx.player().Form_Load();
    desktop.PlayerHost().SetVisible(true);
    result = desktop.Run();
  }
  if (com) CoUninitialize();
  return result;
}
