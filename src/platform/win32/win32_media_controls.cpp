#include "platform/win32/win32_media_controls.h"

#include <atomic>

#include "os/win32/wide_text.h"
#include "platform/win32/win32_form_host.h"

namespace kestrafon::platform::win32 {
namespace {

// A button pressed on the overlay, carried to the window's thread.
constexpr UINT kButtonMessage = WM_APP + 7;

// The few Windows Runtime calls, from combase.dll when it is there.
struct WinRt {
  using Activate = HRESULT(WINAPI*)(HSTRING, REFIID, void**);
  using Create = HRESULT(WINAPI*)(PCWSTR, UINT32, HSTRING*);
  using Delete = HRESULT(WINAPI*)(HSTRING);
  using Buffer = PCWSTR(WINAPI*)(HSTRING, UINT32*);
  Activate activate = nullptr;
  Create create = nullptr;
  Delete remove = nullptr;
  Buffer buffer = nullptr;

  static const WinRt& Get() {
    static const WinRt loaded = [] {
      WinRt api;
      if (HMODULE combase = LoadLibraryW(L"combase.dll")) {
        api.activate = reinterpret_cast<Activate>(reinterpret_cast<void*>(GetProcAddress(combase, "RoGetActivationFactory")));
        api.create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(combase, "WindowsCreateString")));
        api.remove = reinterpret_cast<Delete>(reinterpret_cast<void*>(GetProcAddress(combase, "WindowsDeleteString")));
        api.buffer =
            reinterpret_cast<Buffer>(reinterpret_cast<void*>(GetProcAddress(combase, "WindowsGetStringRawBuffer")));
      }
      return api;
    }();
    return loaded;
  }
};

int StatusOf(const std::string& playbackStatus) {
  if (playbackStatus == "Playing") return smtc::kPlaying;
  if (playbackStatus == "Paused") return smtc::kPaused;
  return smtc::kStopped;
}

}  // namespace

HSTRING MakeHString(const std::string& utf8) {
  const WinRt& api = WinRt::Get();
  HSTRING text = nullptr;
  const std::wstring wide = os::Widen(utf8);
  if (api.create) api.create(wide.c_str(), UINT32(wide.size()), &text);
  return text;
}

std::string ReadHString(HSTRING text) {
  const WinRt& api = WinRt::Get();
  if (!text || !api.buffer) return {};
  UINT32 length = 0;
  const PCWSTR chars = api.buffer(text, &length);
  return chars ? os::Narrow(std::wstring_view(chars, length)) : std::string();
}

void FreeHString(HSTRING text) {
  if (text && WinRt::Get().remove) WinRt::Get().remove(text);
}

// The delegate Windows calls when a button is pressed, on a thread of its
// own: it only posts the button to the window.
class SystemMediaControls::Handler final : public smtc::IButtonPressedHandler {
 public:
  explicit Handler(HWND window) : window_(window) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualGUID(iid, IID_IUnknown) || IsEqualGUID(iid, smtc::kButtonPressedHandlerIid) ||
        IsEqualGUID(iid, smtc::kAgileObjectIid)) {
      *object = static_cast<smtc::IButtonPressedHandler*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE Invoke(smtc::IControls*, smtc::IButtonPressedEventArgs* args) override {
    int button = -1;
    if (!args || FAILED(args->get_Button(&button))) return S_OK;
    PostMessageW(window_, kButtonMessage, WPARAM(button), 0);
    return S_OK;
  }

 private:
  HWND window_;
  std::atomic<ULONG> references_{1};
};

std::optional<seam::MediaKey> SystemMediaControls::KeyForButton(int button) {
  switch (button) {
    case smtc::kPlay: return seam::MediaKey::Play;
    case smtc::kPause: return seam::MediaKey::Pause;
    case smtc::kStop: return seam::MediaKey::Stop;
    case smtc::kNext: return seam::MediaKey::Next;
    case smtc::kPrevious: return seam::MediaKey::Previous;
    default: return std::nullopt;
  }
}

std::unique_ptr<SystemMediaControls> SystemMediaControls::ForWindow(Win32FormHost& window, ButtonHandler onButton,
                                                                    ActivationFactory activate) {
  const WinRt& api = WinRt::Get();
  if (!activate) {
    if (!api.activate) return nullptr;
    activate = api.activate;
  }
  HSTRING name = MakeHString("Windows.Media.SystemMediaTransportControls");
  if (!name) return nullptr;
  smtc::IControlsInterop* interop = nullptr;
  const HRESULT found = activate(name, smtc::kInteropIid, reinterpret_cast<void**>(&interop));
  FreeHString(name);
  if (FAILED(found) || !interop) return nullptr;  // Wine answers "class not registered"
  smtc::IControls* controls = nullptr;
  const HRESULT got = interop->GetForWindow(window.hwnd(), smtc::kControlsIid, reinterpret_cast<void**>(&controls));
  interop->Release();
  if (FAILED(got) || !controls) return nullptr;
  auto result = std::make_unique<SystemMediaControls>(controls, window, std::move(onButton));
  controls->Release();
  return result;
}

SystemMediaControls::SystemMediaControls(smtc::IControls* controls, Win32FormHost& window, ButtonHandler onButton)
    : controls_(controls) {
  controls_->AddRef();
  window.AddMessageHandler(kButtonMessage, [onButton = std::move(onButton)](WPARAM button, LPARAM) {
    if (const std::optional<seam::MediaKey> key = KeyForButton(int(button)); key && onButton) onButton(*key);
  });
  controls_->put_IsEnabled(true);
  controls_->put_IsPlayEnabled(true);
  controls_->put_IsPauseEnabled(true);
  controls_->put_IsStopEnabled(true);
  handler_ = new Handler(window.hwnd());
  subscribed_ = SUCCEEDED(controls_->add_ButtonPressed(handler_, &token_));
}

SystemMediaControls::~SystemMediaControls() {
  if (subscribed_) controls_->remove_ButtonPressed(token_);
  controls_->put_PlaybackStatus(smtc::kClosed);
  handler_->Release();
  controls_->Release();
}

void SystemMediaControls::Show(const mpris::Snapshot& now) {
  controls_->put_PlaybackStatus(StatusOf(now.playbackStatus));
  controls_->put_IsNextEnabled(now.canGoNext);
  controls_->put_IsPreviousEnabled(now.canGoPrevious);
  smtc::IDisplayUpdater* display = nullptr;
  if (FAILED(controls_->get_DisplayUpdater(&display)) || !display) return;
  display->put_Type(smtc::kMusic);
  smtc::IMusicDisplayProperties* music = nullptr;
  if (SUCCEEDED(display->get_MusicProperties(&music)) && music) {
    // Each put every time: an untagged track clears what the last one said.
    const auto put = [](auto* properties, auto setter, const std::string& text) {
      HSTRING value = MakeHString(text);
      (properties->*setter)(value);
      FreeHString(value);
    };
    put(music, &smtc::IMusicDisplayProperties::put_Title, now.metadata.title);
    put(music, &smtc::IMusicDisplayProperties::put_Artist, now.metadata.artist);
    smtc::IMusicDisplayProperties2* album = nullptr;
    if (SUCCEEDED(music->QueryInterface(smtc::kMusicProperties2Iid, reinterpret_cast<void**>(&album))) && album) {
      put(album, &smtc::IMusicDisplayProperties2::put_AlbumTitle, now.metadata.album);
      album->Release();
    }
    music->Release();
  }
  display->Update();
  display->Release();
}

void SystemMediaControls::PropertiesChanged(const mpris::Snapshot& now, const std::vector<mpris::Property>&) {
  Show(now);
}

}  // namespace kestrafon::platform::win32
