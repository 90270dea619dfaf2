#include "platform/directshow/dshow_graph.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace kestrafon::platform::directshow {
namespace {

// Positions this close to the end count as the end: the renderer may stop a
// few samples short of the duration the parser reported.
constexpr double kEndTolerance = 0.001;
// The message our window gets when the current graph has queued an event.
constexpr UINT kGraphEvent = WM_APP + 1;
// The message a worker posts when it is done with a follower (FollowJob).
constexpr UINT kFollowerDone = WM_APP + 2;
// The message a worker posts when it is done with OpenFile's file.
constexpr UINT kOpenDone = WM_APP + 3;
constexpr wchar_t kNotifyClass[] = L"KestrafonGraphEvents";

}  // namespace

DirectShowGraph::DirectShowGraph(IGraphBuilder* builder, seam::GraphEvents& events) : events_(events) {
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
  alive_.reset();
  // A worker still readying is left to finish alone: it finds its job
  // abandoned and releases what it made.
  if (pending_) Abandon(*pending_);
  if (opening_) Abandon(*opening_);
  if (notifyWindow_) {
    SetWindowLongPtrW(notifyWindow_, GWLP_USERDATA, 0);
    // Results already posted hold readied graphs that no one would release.
    static_assert(kOpenDone == kFollowerDone + 1, "one range holds both results");
    MSG msg;
    while (PeekMessageW(&msg, notifyWindow_, kFollowerDone, kOpenDone, PM_REMOVE)) {
      DirectShowTrack track = std::move(TakeFollowJob(msg.lParam)->track);
      Halt(track);
    }
  }
  Halt(current_);
  if (next_) Halt(*next_);
  if (notifyWindow_) DestroyWindow(notifyWindow_);
}

LRESULT CALLBACK DirectShowGraph::NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* graph = reinterpret_cast<DirectShowGraph*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == kGraphEvent) {
    if (graph) graph->HandleGraphEvents();
    return 0;
  }
  if (message == kFollowerDone) {
    std::shared_ptr<FollowJob> job = TakeFollowJob(lParam);
    if (graph) graph->FollowerDone(job);
    return 0;
  }
  if (message == kOpenDone) {
    std::shared_ptr<FollowJob> job = TakeFollowJob(lParam);
    if (graph) graph->OpenDone(job);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

template <class Report>
bool DirectShowGraph::Tell(Report report) {
  const std::weak_ptr<char> alive = alive_;
  report();
  return !alive.expired();
}

bool DirectShowGraph::RenderFile(const std::string& path) {
  if (rendered_ || opening_) return false;  // one file per graph
  bool noOutput = false;
  if (!ReadyTrack(current_, path, noOutput)) {
    if (noOutput) fault_ = seam::OutputFault::NoDevice;
    return false;
  }
  rendered_ = true;
  WatchEvents();
  return true;
}

void DirectShowGraph::OpenFile(const std::string& path) {
  if (!notifyWindow_) return;  // nothing could be reported
  auto job = std::make_shared<FollowJob>(path, 0);
  // A second file goes back unreadied, and is reported not opened.
  if (!rendered_ && !opening_ && StartFollowJob(job, notifyWindow_, kOpenDone)) {
    opening_ = job;
    return;
  }
  PostFollowJob(notifyWindow_, kOpenDone, job);
}

void DirectShowGraph::OpenDone(const std::shared_ptr<FollowJob>& job) {
  if (job == opening_) opening_.reset();
  if (!job->readied) {
    if (job->noOutput) fault_ = seam::OutputFault::NoDevice;
    Tell([&] { events_.Opened(false); });
    return;
  }
  // The worker's graph plays the file: the empty one made with us goes.
  current_ = std::move(job->track);
  rendered_ = true;
  WatchEvents();
  Tell([&] { events_.Opened(true); });
}

void DirectShowGraph::WatchEvents() {
  if (notifyWindow_) current_.events->SetNotifyWindow(reinterpret_cast<OAHWND>(notifyWindow_), kGraphEvent, 0);
}

bool DirectShowGraph::Run() {
  if (!rendered_ || FAILED(current_.control->Run())) return false;
  lastCommand_ = Command::Run;
  return true;
}

bool DirectShowGraph::Pause() {
  if (!rendered_ || FAILED(current_.control->Pause())) return false;
  lastCommand_ = Command::Pause;
  return true;
}

bool DirectShowGraph::Stop() {
  if (!rendered_ || FAILED(current_.control->Stop())) return false;
  lastCommand_ = Command::Stop;
  return true;
}

bool DirectShowGraph::Duration(double& seconds) {
  if (!rendered_) return false;
  seconds = current_.duration;
  return true;
}

bool DirectShowGraph::CurrentPosition(double& seconds) {
  if (!rendered_) return false;
  REFTIME position = 0;
  if (FAILED(current_.position->get_CurrentPosition(&position))) return false;
  const double duration = current_.duration;
  // After the end of the stream the position reads exactly the duration the
  // graph reported: the end-of-track test compares the two for equality.
  // While a file is to follow, the end is where it takes over instead.
  if (ended_) {
    position = duration;
  } else if (next_ || pending_) {
    position = std::min(position, std::nextafter(duration, 0.0));
  } else if (position >= duration - kEndTolerance) {
    position = duration;
  }
  seconds = position;
  return true;
}

bool DirectShowGraph::PutCurrentPosition(double seconds) {
  if (!rendered_ || FAILED(current_.position->put_CurrentPosition(seconds))) return false;
  DiscardQueuedEnds();
  ended_ = false;
  return true;
}

bool DirectShowGraph::PutVolume(long hundredthsDb) {
  if (!rendered_ || FAILED(current_.audio->put_Volume(hundredthsDb))) return false;
  volume_ = hundredthsDb;
  if (next_) next_->audio->put_Volume(hundredthsDb);
  return true;
}

seam::OutputFault DirectShowGraph::Fault() { return fault_; }

void DirectShowGraph::Follow(const std::string& path, seam::FollowTag tag) {
  if (opening_) return;  // refused until the file is open
  DropFollower();
  if (path.empty() || !notifyWindow_) return;
  auto job = std::make_shared<FollowJob>(path, tag);
  job->beforeReadying = followerGate_;
  pending_ = job;
  // After the end of the stream nothing can join it (the caller starts the
  // next file itself): the job goes back unreadied, and is reported failed.
  if (rendered_ && !ended_ && StartFollowJob(job, notifyWindow_, kFollowerDone)) return;
  if (!PostFollowJob(notifyWindow_, kFollowerDone, job)) pending_.reset();
}

void DirectShowGraph::FollowerDone(const std::shared_ptr<FollowJob>& job) {
  DirectShowTrack track = std::move(job->track);
  if (job != pending_) {  // dropped or replaced since
    Halt(track);
    return;
  }
  pending_.reset();
  if (!job->readied || ended_) {
    Halt(track);
    Tell([&] { events_.FollowerFailed(job->tag); });
    return;
  }
  track.audio->put_Volume(volume_);
  next_ = std::make_unique<DirectShowTrack>(std::move(track));
  nextTag_ = job->tag;
}

void DirectShowGraph::DropFollower() {
  if (pending_) {
    Abandon(*pending_);
    pending_.reset();
  }
  if (next_) {
    Halt(*next_);
    next_.reset();
  }
}

void DirectShowGraph::TakeOver() {
  DirectShowTrack finished = std::move(current_);
  current_ = std::move(*next_);
  next_.reset();
  // The user's last command holds across the joint: after a Pause that came
  // in before this end was handled, the followed file waits at its start.
  if (lastCommand_ == Command::Run) current_.control->Run();
  Halt(finished);
  WatchEvents();
  ended_ = false;
}

void DirectShowGraph::DiscardQueuedEnds() {
  const bool hadKept = !kept_.empty();
  long code = 0;
  LONG_PTR p1 = 0, p2 = 0;
  while (current_.events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
    current_.events->FreeEventParams(code, p1, p2);
    if (code != EC_COMPLETE) kept_.emplace_back(code, p2);
  }
  if (!hadKept && !kept_.empty() && notifyWindow_) PostMessageW(notifyWindow_, kGraphEvent, 0, 0);
}

void DirectShowGraph::HandleGraphEvents() {
  while (true) {
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    if (!kept_.empty()) {
      std::tie(code, p2) = kept_.front();
      kept_.pop_front();
    } else if (rendered_ && current_.events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
      current_.events->FreeEventParams(code, p1, p2);
    } else {
      return;
    }
    if (!HandleGraphEvent(code, p2)) return;
  }
}

bool DirectShowGraph::HandleGraphEvent(long code, LONG_PTR p2) {
  if (code == EC_COMPLETE) return StreamEnd();
  // The renderer lost its device (unplugged, taken by another program):
  // the position would stand still from here on.
  if ((code == EC_ERRORABORT || (code == EC_DEVICE_LOST && p2 == 0)) && fault_ != seam::OutputFault::DeviceLost) {
    fault_ = seam::OutputFault::DeviceLost;
    return Tell([&] { events_.OutputLost(); });
  }
  return true;
}

bool DirectShowGraph::StreamEnd() {
  if (next_) {
    const seam::FollowTag tag = nextTag_;
    TakeOver();
    return Tell([&] { events_.FollowerStarted(tag); });
  }
  if (ended_) return true;
  ended_ = true;
  if (pending_) {  // not ready in time: the caller starts it itself
    const seam::FollowTag tag = pending_->tag;
    DropFollower();
    if (!Tell([&] { events_.FollowerFailed(tag); })) return false;
  }
  return Tell([&] { events_.StreamEnded(); });
}

}  // namespace kestrafon::platform::directshow
