#pragma once
// Commands from outside the windows (a second launch's files, a media key,
// the system's media controls) arrive as messages, and a modal loop (a file
// dialog, a message box, a window being moved) dispatches messages too.
// Run there, such a command would land in the middle of the command that
// opened the loop. The gate holds them until every modal loop has ended
// and the stack is back at the event loop, then runs them in order.
#include <deque>
#include <functional>

namespace kestrafon {

class ModalGate {
 public:
  // `wake` asks for Drain() to be called soon from the event loop (on
  // Windows a posted message); it must not call Drain itself.
  explicit ModalGate(std::function<void()> wake) : wake_(std::move(wake)) {}
  ModalGate(const ModalGate&) = delete;
  ModalGate& operator=(const ModalGate&) = delete;

  // Runs the command now when nothing is in the way, else once it is.
  void Run(std::function<void()> command);
  // A modal loop begins or ends.
  void Enter() { ++depth_; }
  void Leave();
  // Runs what waits, unless a modal loop or a gated command is under way.
  void Drain();

  // A modal loop for the length of a scope.
  class Loop {
   public:
    explicit Loop(ModalGate* gate) : gate_(gate) {
      if (gate_) gate_->Enter();
    }
    ~Loop() {
      if (gate_) gate_->Leave();
    }
    Loop(const Loop&) = delete;
    Loop& operator=(const Loop&) = delete;

   private:
    ModalGate* gate_;
  };

 private:
  std::function<void()> wake_;
  std::deque<std::function<void()>> waiting_;
  int depth_ = 0;
  bool running_ = false;
};

}  // namespace kestrafon
