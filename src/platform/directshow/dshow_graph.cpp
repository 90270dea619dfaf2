#include "platform/directshow/dshow_graph.h"

#include <windows.h>

#include "os/win32/wide_text.h"

namespace kestrafon::platform::directshow {
namespace {

// Positions this close to the end count as the end: the renderer may stop a
// few samples short of the duration the parser reported.
constexpr double kEndTolerance = 0.001;
// How long RenderFile waits for the new graph to be ready in the paused state.
constexpr DWORD kPauseWaitMs = 5000;

// Only plain files are handed to the graph: a pipe or a device could block
// the open, and a directory never renders.
bool IsPlainFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace

DirectShowGraph::DirectShowGraph(IGraphBuilder* builder) { *builder_.Out() = builder; }

DirectShowGraph::~DirectShowGraph() {
  if (control_) control_->Stop();
}

bool DirectShowGraph::RenderFile(const std::string& path) {
  if (rendered_ || !builder_) return false;  // one file per graph
  const std::wstring wide = os::Widen(path);
  if (path.empty() || !IsPlainFile(wide)) return false;
  if (FAILED(builder_->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(control_.Out()))) ||
      FAILED(builder_->QueryInterface(IID_IMediaPosition, reinterpret_cast<void**>(position_.Out()))) ||
      FAILED(builder_->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(audio_.Out()))) ||
      FAILED(builder_->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events_.Out()))))
    return false;
  const HRESULT hr = builder_->RenderFile(wide.c_str(), nullptr);
  // A file whose sound cannot be played is no track; where no sound output
  // exists, the user hears why.
  if (hr == VFW_S_AUDIO_NOT_RENDERED || hr == VFW_E_NO_AUDIO_HARDWARE) fault_ = OutputFault::NoDevice;
  if (FAILED(hr) || hr == VFW_S_AUDIO_NOT_RENDERED) return false;
  REFTIME duration = 0;
  if (FAILED(position_->get_Duration(&duration)) || !(duration > 0)) return false;
  duration_ = duration;
  rendered_ = true;
  // Ready at the start, so that Run starts sound at once.
  if (FAILED(control_->Pause())) return false;
  OAFilterState state = State_Stopped;
  control_->GetState(kPauseWaitMs, &state);
  return true;
}

bool DirectShowGraph::Run() { return rendered_ && SUCCEEDED(control_->Run()); }

bool DirectShowGraph::Pause() { return rendered_ && SUCCEEDED(control_->Pause()); }

bool DirectShowGraph::Stop() { return rendered_ && SUCCEEDED(control_->Stop()); }

bool DirectShowGraph::Duration(double& seconds) {
  if (!rendered_) return false;
  seconds = duration_;
  return true;
}

bool DirectShowGraph::CurrentPosition(double& seconds) {
  if (!rendered_) return false;
  REFTIME position = 0;
  if (FAILED(position_->get_CurrentPosition(&position))) return false;
  DrainEvents();
  // After the end of the stream the position reads exactly the duration the
  // graph reported: the end-of-track test compares the two for equality.
  if (ended_ || position >= duration_ - kEndTolerance) position = duration_;
  seconds = position;
  return true;
}

bool DirectShowGraph::PutCurrentPosition(double seconds) {
  if (!rendered_ || FAILED(position_->put_CurrentPosition(seconds))) return false;
  DrainEvents();
  ended_ = false;
  return true;
}

bool DirectShowGraph::PutVolume(long hundredthsDb) {
  return rendered_ && SUCCEEDED(audio_->put_Volume(hundredthsDb));
}

OutputFault DirectShowGraph::Fault() {
  DrainEvents();
  return fault_;
}

void DirectShowGraph::DrainEvents() {
  long code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  while (events_ && events_->GetEvent(&code, &p1, &p2, 0) == S_OK) {
    if (code == EC_COMPLETE) ended_ = true;
    // The renderer lost its device (unplugged, taken by another program):
    // the position would stand still from here on.
    if (code == EC_ERRORABORT || (code == EC_DEVICE_LOST && p2 == 0)) fault_ = OutputFault::DeviceLost;
    events_->FreeEventParams(code, p1, p2);
  }
}

}  // namespace kestrafon::platform::directshow
