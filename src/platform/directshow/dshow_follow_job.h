#pragma once
// Readying a file off the window's thread (the file that follows, or the one
// OpenFile opens): opening and decoding the start of a file can take long (a
// slow disk, a network share), and the window's thread never waits for it.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/directshow/dshow_track.h"
#include "seam/media.h"

namespace kestrafon::platform::directshow {

// One file to ready, shared by the graph that asked and the worker thread.
// The worker hands the readied track over in a message to the graph's
// window; if the graph no longer wants it, the worker releases it itself.
struct FollowJob {
  FollowJob(std::string path, seam::FollowTag tag) : path(std::move(path)), tag(tag) {}

  const std::string path;
  const seam::FollowTag tag;  // 0 for the file OpenFile opens
  // Run by the worker before it starts (tests hold it there).
  std::function<void()> beforeReadying;

  // Set on the window's thread once the graph no longer wants the result:
  // dropped, replaced, or the graph is gone.
  std::atomic<bool> abandoned{false};
  // Held while the worker posts and while the graph abandons, so that once
  // abandoned no message can still be on its way.
  std::mutex posting;

  // Written by the worker before it posts the job; taken by the window's
  // thread when the message arrives.
  DirectShowTrack track;
  bool readied = false;
  bool noOutput = false;  // not readied for want of a sound output
};

// Posts `job` to `window` as `message` with its LPARAM holding a reference
// to the job (take it back with TakeFollowJob). False when not posted.
bool PostFollowJob(HWND window, UINT message, const std::shared_ptr<FollowJob>& job);
std::shared_ptr<FollowJob> TakeFollowJob(LPARAM lParam);

// Readies job->path on a new thread, in its own filter graph, and posts the
// job to `window` as `message` when done, unless it was abandoned first.
// False when no thread could be started.
bool StartFollowJob(const std::shared_ptr<FollowJob>& job, HWND window, UINT message);

// The graph no longer wants the job's result. Once this returns, the worker
// posts nothing more; a message it posted before is still in the queue.
void Abandon(FollowJob& job);

}  // namespace kestrafon::platform::directshow
