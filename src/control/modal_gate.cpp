#include "control/modal_gate.h"

namespace kestrafon {

void ModalGate::Run(std::function<void()> command) {
  waiting_.push_back(std::move(command));
  Drain();
}

void ModalGate::Leave() {
  if (depth_ > 0) --depth_;
  // The loop's caller is still in the middle of its command: run what
  // waits from the event loop, after it.
  if (depth_ == 0 && !running_ && !waiting_.empty() && wake_) wake_();
}

void ModalGate::Drain() {
  if (depth_ > 0 || running_) return;
  running_ = true;
  while (!waiting_.empty() && depth_ == 0) {
    std::function<void()> command = std::move(waiting_.front());
    waiting_.pop_front();
    command();
  }
  running_ = false;
}

}  // namespace kestrafon
