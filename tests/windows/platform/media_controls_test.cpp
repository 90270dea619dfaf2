// Windows' own media controls behind fakes of their interfaces: what the
// player shows there, the buttons coming back on the window's thread, and
// the fall-back when the system has none (as under Wine).
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win32_form_host.h"
#include "platform/win32/win32_media_controls.h"

namespace kestrafon::platform::win32 {
namespace {

// IUnknown and IInspectable for a fake on the stack: counted, never deleted.
template <class Interface>
struct Fake : Interface {
  ULONG references = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel*) override { return E_NOTIMPL; }
};

struct FakeAlbum : Fake<smtc::IMusicDisplayProperties2> {
  std::string title;
  HRESULT STDMETHODCALLTYPE get_AlbumTitle(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_AlbumTitle(HSTRING value) override { return title = ReadHString(value), S_OK; }
};

struct FakeMusic : Fake<smtc::IMusicDisplayProperties> {
  std::string title, artist;
  FakeAlbum album;  // the same object's second interface, as Windows has it
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!IsEqualIID(iid, smtc::kMusicProperties2Iid)) return Fake::QueryInterface(iid, object);
    album.AddRef();
    return *object = &album, S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Title(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Title(HSTRING value) override { return title = ReadHString(value), S_OK; }
  HRESULT STDMETHODCALLTYPE get_AlbumArtist(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_AlbumArtist(HSTRING) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Artist(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Artist(HSTRING value) override { return artist = ReadHString(value), S_OK; }
};

struct FakeDisplay : Fake<smtc::IDisplayUpdater> {
  FakeMusic music;
  int type = 0, updates = 0;
  HRESULT STDMETHODCALLTYPE get_Type(int*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Type(int value) override { return type = value, S_OK; }
  HRESULT STDMETHODCALLTYPE get_AppMediaId(HSTRING*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_AppMediaId(HSTRING) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Thumbnail(IUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Thumbnail(IUnknown*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_MusicProperties(smtc::IMusicDisplayProperties** value) override {
    music.AddRef();
    return *value = &music, S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_VideoProperties(IUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_ImageProperties(IUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CopyFromFileAsync(int, IUnknown*, IUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ClearAll() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Update() override { return ++updates, S_OK; }
};

struct FakeArgs : Fake<smtc::IButtonPressedEventArgs> {
  int button = 0;
  HRESULT STDMETHODCALLTYPE get_Button(int* value) override { return *value = button, S_OK; }
};

#define KESTRAFON_FAKE_FLAG(Name)                                                        \
  boolean Name = false;                                                                  \
  HRESULT STDMETHODCALLTYPE get_##Name(boolean* v) override { return *v = Name, S_OK; } \
  HRESULT STDMETHODCALLTYPE put_##Name(boolean v) override { return Name = v, S_OK; }

struct FakeControls : Fake<smtc::IControls> {
  int status = -1;
  FakeDisplay display;
  smtc::IButtonPressedHandler* handler = nullptr;
  bool removed = false;
  HRESULT STDMETHODCALLTYPE get_PlaybackStatus(int* v) override { return *v = status, S_OK; }
  HRESULT STDMETHODCALLTYPE put_PlaybackStatus(int v) override { return status = v, S_OK; }
  HRESULT STDMETHODCALLTYPE get_DisplayUpdater(smtc::IDisplayUpdater** value) override {
    display.AddRef();
    return *value = &display, S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_SoundLevel(int*) override { return E_NOTIMPL; }
  KESTRAFON_FAKE_FLAG(IsEnabled)
  KESTRAFON_FAKE_FLAG(IsPlayEnabled)
  KESTRAFON_FAKE_FLAG(IsStopEnabled)
  KESTRAFON_FAKE_FLAG(IsPauseEnabled)
  KESTRAFON_FAKE_FLAG(IsRecordEnabled)
  KESTRAFON_FAKE_FLAG(IsFastForwardEnabled)
  KESTRAFON_FAKE_FLAG(IsRewindEnabled)
  KESTRAFON_FAKE_FLAG(IsPreviousEnabled)
  KESTRAFON_FAKE_FLAG(IsNextEnabled)
  KESTRAFON_FAKE_FLAG(IsChannelUpEnabled)
  KESTRAFON_FAKE_FLAG(IsChannelDownEnabled)
  HRESULT STDMETHODCALLTYPE add_ButtonPressed(smtc::IButtonPressedHandler* h, EventRegistrationToken* token) override {
    handler = h;
    handler->AddRef();
    token->value = 42;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE remove_ButtonPressed(EventRegistrationToken token) override {
    removed = token.value == 42;
    handler->Release();
    return S_OK;
  }
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

WindowOptions Small() {
  WindowOptions options;
  options.width = 30;
  options.height = 20;
  return options;
}

TEST(SystemMediaControls, ShowTheTitleAndStatusAndBringTheButtonsHome) {
  Win32FormHost window(Small());
  FakeControls controls;
  std::vector<seam::MediaKey> keys;
  {
    SystemMediaControls system(&controls, window, [&](seam::MediaKey key) { keys.push_back(key); });
    EXPECT_TRUE(controls.IsEnabled && controls.IsPlayEnabled && controls.IsPauseEnabled && controls.IsStopEnabled);

    mpris::Snapshot now;
    now.playbackStatus = "Playing";
    now.metadata.title = "曲 ü";
    now.metadata.artist = "歌手";
    now.metadata.album = "盤";
    now.canGoNext = true;
    system.PropertiesChanged(now, {mpris::Property::PlaybackStatus});
    EXPECT_EQ(controls.status, smtc::kPlaying);
    EXPECT_EQ(controls.display.music.title, "曲 ü");
    EXPECT_EQ(controls.display.music.artist, "歌手");
    EXPECT_EQ(controls.display.music.album.title, "盤");
    EXPECT_EQ(controls.display.music.album.references, 1u);
    EXPECT_TRUE(controls.IsNextEnabled);
    EXPECT_FALSE(controls.IsPreviousEnabled);
    now.playbackStatus = "Paused";
    system.Show(now);
    EXPECT_EQ(controls.status, smtc::kPaused);

    // Windows calls the handler on a thread of its own; the key arrives on the window's.
    for (int button : {smtc::kNext, smtc::kRecord, smtc::kPause}) {
      FakeArgs args;
      args.button = button;
      ASSERT_NE(controls.handler, nullptr);
      controls.handler->Invoke(&controls, &args);
    }
    EXPECT_TRUE(keys.empty());
    Pump();
    EXPECT_EQ(keys, (std::vector<seam::MediaKey>{seam::MediaKey::Next, seam::MediaKey::Pause}));
  }
  EXPECT_TRUE(controls.removed);
  EXPECT_EQ(controls.status, smtc::kClosed);
  EXPECT_EQ(controls.references, 1u) << "every reference taken is given back";
  EXPECT_EQ(controls.display.references, 1u);
}

TEST(SystemMediaControls, WhereWindowsHasNoneThereAreNone) {
  Win32FormHost window(Small());
  int asked = 0;
  const auto classNotRegistered = [&](HSTRING, REFIID, void**) { return ++asked, REGDB_E_CLASSNOTREG; };
  EXPECT_EQ(SystemMediaControls::ForWindow(window, [](seam::MediaKey) {}, classNotRegistered), nullptr);
  EXPECT_EQ(asked, 1);
  // And the system's own answer here (Wine has none) never fails the start.
  SystemMediaControls::ForWindow(window, [](seam::MediaKey) {});
}

}  // namespace
}  // namespace kestrafon::platform::win32
