#pragma once
// The few Windows Runtime interfaces of the System Media Transport Controls
// the player uses, declared here (MinGW-w64 ships no header for them) in
// their ABI order: every slot up to the last one called is declared, so the
// vtables line up with Windows' own.
#include <windows.h>
// after windows.h
#include <eventtoken.h>
#include <hstring.h>
#include <inspectable.h>

namespace kestrafon::platform::win32::smtc {

// Windows.Media.MediaPlaybackStatus and SystemMediaTransportControlsButton.
enum PlaybackStatus : int { kClosed = 0, kChanging = 1, kStopped = 2, kPlaying = 3, kPaused = 4 };
enum Button : int { kPlay = 0, kPause = 1, kStop = 2, kRecord = 3, kFastForward = 4, kRewind = 5, kNext = 6, kPrevious = 7 };
inline constexpr int kMusic = 1;  // MediaPlaybackType.Music

struct IMusicDisplayProperties : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Title(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Title(HSTRING value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AlbumArtist(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AlbumArtist(HSTRING value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Artist(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Artist(HSTRING value) = 0;
};

// The album is on the second version of the music properties, asked for by
// QueryInterface on the first.
struct IMusicDisplayProperties2 : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_AlbumTitle(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AlbumTitle(HSTRING value) = 0;
};

struct IDisplayUpdater : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Type(int* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Type(int value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AppMediaId(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AppMediaId(HSTRING value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Thumbnail(IUnknown** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Thumbnail(IUnknown* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MusicProperties(IMusicDisplayProperties** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_VideoProperties(IUnknown** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ImageProperties(IUnknown** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyFromFileAsync(int type, IUnknown* source, IUnknown** operation) = 0;
  virtual HRESULT STDMETHODCALLTYPE ClearAll() = 0;
  virtual HRESULT STDMETHODCALLTYPE Update() = 0;
};

struct IButtonPressedEventArgs : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_Button(int* value) = 0;
};

struct IControls;

// TypedEventHandler<SystemMediaTransportControls, ...ButtonPressedEventArgs>:
// a delegate, so IUnknown-based.
struct IButtonPressedHandler : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke(IControls* sender, IButtonPressedEventArgs* args) = 0;
};

struct IControls : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_PlaybackStatus(int* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_PlaybackStatus(int value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DisplayUpdater(IDisplayUpdater** value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SoundLevel(int* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsEnabled(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsEnabled(boolean value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsPlayEnabled(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsPlayEnabled(boolean value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsStopEnabled(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsStopEnabled(boolean value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsPauseEnabled(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsPauseEnabled(boolean value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsRecordEnabled(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsRecordEnabled(boolean value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsFastForwardEnabled(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsFastForwardEnabled(boolean value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsRewindEnabled(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsRewindEnabled(boolean value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsPreviousEnabled(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsPreviousEnabled(boolean value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsNextEnabled(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsNextEnabled(boolean value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsChannelUpEnabled(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsChannelUpEnabled(boolean value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsChannelDownEnabled(boolean* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsChannelDownEnabled(boolean value) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_ButtonPressed(IButtonPressedHandler* handler,
                                                      EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ButtonPressed(EventRegistrationToken token) = 0;
};

struct IControlsInterop : IInspectable {
  virtual HRESULT STDMETHODCALLTYPE GetForWindow(HWND window, REFIID iid, void** controls) = 0;
};

// {ddb0472d-c911-4a1f-86d9-dc3d71a95f5a}
inline constexpr GUID kInteropIid = {0xddb0472d, 0xc911, 0x4a1f, {0x86, 0xd9, 0xdc, 0x3d, 0x71, 0xa9, 0x5f, 0x5a}};
// {99fa3ff4-1742-42a6-902e-087d41f965ec}
inline constexpr GUID kControlsIid = {0x99fa3ff4, 0x1742, 0x42a6, {0x90, 0x2e, 0x08, 0x7d, 0x41, 0xf9, 0x65, 0xec}};
// {00368462-97d3-44b9-b00f-008afcefaf18}
inline constexpr GUID kMusicProperties2Iid = {
    0x00368462, 0x97d3, 0x44b9, {0xb0, 0x0f, 0x00, 0x8a, 0xfc, 0xef, 0xaf, 0x18}};
// {0557e996-7b23-5bae-aa81-ea0d671143a4}
inline constexpr GUID kButtonPressedHandlerIid = {
    0x0557e996, 0x7b23, 0x5bae, {0xaa, 0x81, 0xea, 0x0d, 0x67, 0x11, 0x43, 0xa4}};
// IAgileObject {94ea2b94-e9cc-49e0-c0ff-ee64ca8f5b90}: the handler may be called on any thread.
inline constexpr GUID kAgileObjectIid = {0x94ea2b94, 0xe9cc, 0x49e0, {0xc0, 0xff, 0xee, 0x64, 0xca, 0x8f, 0x5b, 0x90}};

}  // namespace kestrafon::platform::win32::smtc
