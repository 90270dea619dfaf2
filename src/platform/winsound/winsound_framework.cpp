#include "platform/winsound/winsound_framework.h"

#include <objbase.h>
#include <windows.h>
// after windows.h
#include <mmsystem.h>
// after mmsystem.h
#include <mmreg.h>
#include <msacm.h>

#include <functional>

#include "audio/stream_graph.h"
#include "audio/stream_system.h"
#include "os/win32/wide_text.h"
#include "platform/winsound/mf_source.h"
#include "platform/winsound/mp3_acm_source.h"
#include "platform/winsound/wave_output.h"

namespace kestrafon {
namespace {

using platform::winsound::OpenMediaFoundationSource;
using platform::winsound::OpenMp3Source;
using platform::winsound::WaveOutput;

constexpr UINT kRunPosted = WM_APP + 1;

// Work from other threads reaches the window's thread as messages to a
// message-only window made there.
class WindowsStreamSystem final : public audio::StreamSystem {
 public:
  explicit WindowsStreamSystem(seam::ReadTrack readTrack) : readTrack_(std::move(readTrack)) {
    WNDCLASSW type{};
    type.lpfnWndProc = &WindowProc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"KestrafonSoundStream";
    RegisterClassW(&type);  // fails harmlessly when already registered
    window_ = CreateWindowExW(0, type.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, type.hInstance,
                              nullptr);
  }
  ~WindowsStreamSystem() override {
    if (!window_) return;
    // Work still on its way is dropped unrun.
    MSG message;
    while (PeekMessageW(&message, window_, kRunPosted, kRunPosted, PM_REMOVE))
      delete reinterpret_cast<std::function<void()>*>(message.lParam);
    DestroyWindow(window_);
  }

  std::unique_ptr<audio::PcmSource> OpenSource(const std::string& path) override {
    if (auto mp3 = OpenMp3Source(path)) return mp3;
    return OpenMediaFoundationSource(path);
  }
  seam::TrackFacts TrackFactsOf(const std::string& path) override {
    return readTrack_ ? readTrack_(path) : seam::TrackFacts{};
  }
  std::unique_ptr<audio::SoundOutput> MakeOutput() override { return std::make_unique<WaveOutput>(shelf_); }
  void Post(std::function<void()> work) override {
    auto* posted = new std::function<void()>(std::move(work));
    if (!window_ || !PostMessageW(window_, kRunPosted, 0, reinterpret_cast<LPARAM>(posted))) delete posted;
  }
  // Media Foundation's objects are used from the threads that open and read.
  void OnThread(const std::function<void()>& body) override {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    body();
    if (com) CoUninitialize();
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunPosted) return DefWindowProcW(window, message, wParam, lParam);
    std::unique_ptr<std::function<void()>> work(reinterpret_cast<std::function<void()>*>(lParam));
    (*work)();
    return 0;
  }

  HWND window_ = nullptr;
  const seam::ReadTrack readTrack_;
  // The device a graph let go, kept warm for the next graph.
  std::shared_ptr<platform::winsound::DeviceShelf> shelf_ = std::make_shared<platform::winsound::DeviceShelf>();
};

}  // namespace

std::unique_ptr<seam::MediaFramework> MakeWindowsSoundFramework(seam::ReadTrack readTrack) {
  return std::make_unique<audio::StreamFramework>(std::make_shared<WindowsStreamSystem>(std::move(readTrack)));
}

}  // namespace kestrafon

namespace kestrafon {
namespace {

// The first ACM driver that decodes MP3: the one acmStreamOpen picks.
BOOL CALLBACK FindMp3Driver(HACMDRIVERID id, DWORD_PTR found, DWORD) {
  ACMDRIVERDETAILSW details{};
  details.cbStruct = sizeof(details);
  HACMDRIVER driver = nullptr;
  if (acmDriverDetailsW(id, &details, 0) != MMSYSERR_NOERROR || acmDriverOpen(&driver, id, 0) != MMSYSERR_NOERROR)
    return TRUE;
  ACMFORMATTAGDETAILSW tag{};
  tag.cbStruct = sizeof(tag);
  tag.dwFormatTag = WAVE_FORMAT_MPEGLAYER3;
  const bool mp3 = acmFormatTagDetailsW(driver, &tag, ACM_FORMATTAGDETAILSF_FORMATTAG) == MMSYSERR_NOERROR;
  acmDriverClose(driver, 0);
  if (!mp3) return TRUE;
  *reinterpret_cast<std::wstring*>(found) = details.szLongName;
  return FALSE;
}

}  // namespace

std::string DescribeWindowsSound() {
  std::wstring mp3Driver;
  acmDriverEnum(&FindMp3Driver, reinterpret_cast<DWORD_PTR>(&mp3Driver), 0);
  return "Sound: one waveOut stream to the default device\n"
         "MP3: Kestrafon's frame reader, decoded by ACM (" +
         (mp3Driver.empty() ? std::string("no MP3 decoder found") : os::Narrow(mp3Driver)) +
         ")\n"
         "Other files: Media Foundation";
}

}  // namespace kestrafon
