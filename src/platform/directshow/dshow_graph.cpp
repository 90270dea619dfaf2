#include "platform/directshow/dshow_graph.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "os/win32/wide_text.h"

namespace kestrafon::platform::directshow {
namespace {

// Positions this close to the end count as the end: the renderer may stop a
// few samples short of the duration the parser reported.
constexpr double kEndTolerance = 0.001;
// How long readying a graph waits for it to be paused at the start.
constexpr DWORD kPauseWaitMs = 5000;
// The message our window gets when the current graph has queued an event.
constexpr UINT kGraphEvent = WM_APP + 1;
constexpr wchar_t kNotifyClass[] = L"KestrafonGraphEvents";

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

DirectShowGraph::DirectShowGraph(IGraphBuilder* builder) {
  *current_.builder.Out() = builder;
  notifyWindow_ = MakeNotifyWindow(this);
}

HWND DirectShowGraph::MakeNotifyWindow(DirectShowGraph* graph) {
  static const ATOM kClass = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &NotifyProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kNotifyClass;
    return RegisterClassExW(&wc);
  }();
  if (!kClass) return nullptr;
  HWND window = CreateWindowExW(0, kNotifyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(graph));
  return window;
}

DirectShowGraph::~DirectShowGraph() {
  for (DirectShowTrack* track : {&current_, next_.get()}) {
    if (!track) continue;
    if (track->events) track->events->SetNotifyWindow(0, 0, 0);
    if (track->control) track->control->Stop();
  }
  if (notifyWindow_) DestroyWindow(notifyWindow_);
}

LRESULT CALLBACK DirectShowGraph::NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kGraphEvent) return DefWindowProcW(window, message, wParam, lParam);
  if (auto* graph = reinterpret_cast<DirectShowGraph*>(GetWindowLongPtrW(window, GWLP_USERDATA))) graph->DrainEvents();
  return 0;
}

bool DirectShowGraph::Ready(DirectShowTrack& track, const std::string& path) {
  const std::wstring wide = os::Widen(path);
  if (path.empty() || !IsPlainFile(wide) || !track.builder) return false;
  IGraphBuilder* builder = track.builder.get();
  if (!Query(builder, IID_IMediaControl, track.control) || !Query(builder, IID_IMediaPosition, track.position) ||
      !Query(builder, IID_IBasicAudio, track.audio) || !Query(builder, IID_IMediaEventEx, track.events))
    return false;
  const HRESULT hr = builder->RenderFile(wide.c_str(), nullptr);
  // A file whose sound cannot be played is no track; where no sound output
  // exists, the user hears why.
  if (hr == VFW_S_AUDIO_NOT_RENDERED || hr == VFW_E_NO_AUDIO_HARDWARE) fault_ = OutputFault::NoDevice;
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

bool DirectShowGraph::RenderFile(const std::string& path) {
  if (rendered_) return false;  // one file per graph
  if (!Ready(current_, path)) return false;
  rendered_ = true;
  WatchEvents();
  return true;
}

void DirectShowGraph::WatchEvents() {
  if (notifyWindow_) current_.events->SetNotifyWindow(reinterpret_cast<OAHWND>(notifyWindow_), kGraphEvent, 0);
}

bool DirectShowGraph::Run() { return rendered_ && SUCCEEDED(current_.control->Run()); }

bool DirectShowGraph::Pause() { return rendered_ && SUCCEEDED(current_.control->Pause()); }

bool DirectShowGraph::Stop() { return rendered_ && SUCCEEDED(current_.control->Stop()); }

bool DirectShowGraph::Duration(double& seconds) {
  if (!rendered_) return false;
  seconds = current_.duration;
  return true;
}

bool DirectShowGraph::CurrentPosition(double& seconds) {
  if (!rendered_) return false;
  DrainEvents();
  REFTIME position = 0;
  if (FAILED(current_.position->get_CurrentPosition(&position))) return false;
  const double duration = current_.duration;
  // After the end of the stream the position reads exactly the duration the
  // graph reported: the end-of-track test compares the two for equality.
  // While a file waits to follow, the end is where it takes over instead.
  if (next_) {
    position = std::min(position, std::nextafter(duration, 0.0));
  } else if (ended_ || position >= duration - kEndTolerance) {
    position = duration;
  }
  seconds = position;
  return true;
}

bool DirectShowGraph::PutCurrentPosition(double seconds) {
  if (!rendered_ || FAILED(current_.position->put_CurrentPosition(seconds))) return false;
  DrainEvents();
  ended_ = false;
  return true;
}

bool DirectShowGraph::PutVolume(long hundredthsDb) {
  if (!rendered_ || FAILED(current_.audio->put_Volume(hundredthsDb))) return false;
  volume_ = hundredthsDb;
  if (next_) next_->audio->put_Volume(hundredthsDb);
  return true;
}

OutputFault DirectShowGraph::Fault() {
  DrainEvents();
  return fault_;
}

bool DirectShowGraph::Follow(const std::string& path) {
  if (!rendered_) return false;
  DrainEvents();
  if (next_) {
    next_->control->Stop();
    next_.reset();
  }
  // After the end of the stream nothing can join it: the caller starts the
  // next file itself.
  if (path.empty() || ended_) return path.empty();
  auto track = std::make_unique<DirectShowTrack>();
  if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                              reinterpret_cast<void**>(track->builder.Out()))))
    return false;
  const OutputFault fault = fault_;
  if (!Ready(*track, path)) {
    fault_ = fault;  // a follower that cannot play leaves the current track alone
    if (track->control) track->control->Stop();
    return false;
  }
  track->audio->put_Volume(volume_);
  next_ = std::move(track);
  return true;
}

bool DirectShowGraph::MovedOn() {
  DrainEvents();
  return std::exchange(movedOn_, false);
}

void DirectShowGraph::StartFollower() {
  next_->control->Run();
  current_.events->SetNotifyWindow(0, 0, 0);
  current_.control->Stop();
  current_ = std::move(*next_);
  next_.reset();
  WatchEvents();
  ended_ = false;
  movedOn_ = true;
}

void DirectShowGraph::DrainEvents() {
  long code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  while (current_.events && current_.events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
    current_.events->FreeEventParams(code, p1, p2);
    // The end of the stream: the followed file starts there and then.
    if (code == EC_COMPLETE) {
      if (next_) {
        StartFollower();
        continue;  // the new graph's events from here on
      }
      ended_ = true;
    }
    // The renderer lost its device (unplugged, taken by another program):
    // the position would stand still from here on.
    if (code == EC_ERRORABORT || (code == EC_DEVICE_LOST && p2 == 0)) fault_ = OutputFault::DeviceLost;
  }
}

}  // namespace kestrafon::platform::directshow
