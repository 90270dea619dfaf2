#include "platform/directshow/dshow_track.h"

#include <windows.h>

#include "os/win32/wide_text.h"

namespace kestrafon::platform::directshow {
namespace {

// How long readying a graph waits for it to be paused at the start.
constexpr DWORD kPauseWaitMs = 5000;

// Only plain files are handed to the graph: a pipe or a device could block
// the open, and a directory never renders.
bool IsPlainFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

template <class T>
bool Query(IGraphBuilder* builder, REFIID id, ComRef<T>& out) {
  return SUCCEEDED(builder->QueryInterface(id, reinterpret_cast<void**>(out.Out())));
}

}  // namespace

bool ReadyTrack(DirectShowTrack& track, const std::string& path, bool& noOutput) {
  const std::wstring wide = os::Widen(path);
  if (path.empty() || !IsPlainFile(wide) || !track.builder) return false;
  IGraphBuilder* builder = track.builder.get();
  if (!Query(builder, IID_IMediaControl, track.control) || !Query(builder, IID_IMediaPosition, track.position) ||
      !Query(builder, IID_IBasicAudio, track.audio) || !Query(builder, IID_IMediaEventEx, track.events))
    return false;
  const HRESULT hr = builder->RenderFile(wide.c_str(), nullptr);
  // A file whose sound cannot be played is no track; where no sound output
  // exists, the user hears why.
  noOutput = hr == VFW_S_AUDIO_NOT_RENDERED || hr == VFW_E_NO_AUDIO_HARDWARE;
  if (FAILED(hr) || hr == VFW_S_AUDIO_NOT_RENDERED) return false;
  REFTIME duration = 0;
  if (FAILED(track.position->get_Duration(&duration)) || !(duration > 0)) return false;
  track.duration = duration;
  // Ready at the start, so that Run starts sound at once.
  if (FAILED(track.control->Pause())) return false;
  OAFilterState state = State_Stopped;
  track.control->GetState(kPauseWaitMs, &state);
  return true;
}

void Halt(DirectShowTrack& track) {
  if (track.events) track.events->SetNotifyWindow(0, 0, 0);
  if (track.control) track.control->Stop();
}

}  // namespace kestrafon::platform::directshow
