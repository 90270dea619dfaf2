#include "platform/directshow/dshow_follow_job.h"

#include <objbase.h>

#include <system_error>
#include <thread>
#include <utility>

namespace kestrafon::platform::directshow {
namespace {

void Ready(const std::shared_ptr<FollowJob>& job, HWND window, UINT message) {
  if (job->beforeReadying) job->beforeReadying();
  // The worker's own apartment: the graph it makes is then driven from the
  // window's thread, as the filter graph manager allows.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  DirectShowTrack track;
  bool readied = false;
  bool noOutput = false;
  if (!job->abandoned) {
    readied = SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(track.builder.Out()))) &&
              ReadyTrack(track, job->path, noOutput);
  }
  {
    const std::lock_guard lock(job->posting);
    if (!job->abandoned) {
      if (readied) job->track = std::move(track);
      job->readied = readied;
      job->noOutput = noOutput;
      // With no one to post to, the track stays here and goes below.
      if (!PostFollowJob(window, message, job)) track = std::move(job->track);
    }
  }
  Halt(track);
  track = DirectShowTrack();  // what was not handed over, released before this apartment ends
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace

bool PostFollowJob(HWND window, UINT message, const std::shared_ptr<FollowJob>& job) {
  auto* held = new std::shared_ptr<FollowJob>(job);
  if (PostMessageW(window, message, 0, reinterpret_cast<LPARAM>(held))) return true;
  delete held;
  return false;
}

std::shared_ptr<FollowJob> TakeFollowJob(LPARAM lParam) {
  auto* held = reinterpret_cast<std::shared_ptr<FollowJob>*>(lParam);
  std::shared_ptr<FollowJob> job = std::move(*held);
  delete held;
  return job;
}

bool StartFollowJob(const std::shared_ptr<FollowJob>& job, HWND window, UINT message) {
  try {
    // Never joined: the graph may be gone long before a slow file opens.
    std::thread([job, window, message] { Ready(job, window, message); }).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void Abandon(FollowJob& job) {
  const std::lock_guard lock(job.posting);
  job.abandoned = true;
}

}  // namespace kestrafon::platform::directshow
