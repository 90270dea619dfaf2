#include "audio/stream_system.h"

#include <chrono>
#include <thread>

namespace kestrafon::audio {

void StreamSystem::StartWorker(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    ++workers_;
  }
  std::thread([self = shared_from_this(), work = std::move(work)] {
    self->OnThread(work);
    std::lock_guard lock(self->mutex_);
    --self->workers_;
    self->done_.notify_all();
  }).detach();
}

bool StreamSystem::WaitForWorkers(int ms) {
  std::unique_lock lock(mutex_);
  return done_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return workers_ == 0; });
}

}  // namespace kestrafon::audio
