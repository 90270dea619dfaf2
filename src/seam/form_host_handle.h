#pragma once
// A handle on a window someone else owns: every call goes on to the window.
// The desktops give the core such a handle on the playlist window. Letting
// go of it unloads the window: it stops reporting events, hides, and is
// handed to `retire`, which deletes it the platform's own way once the event
// that unloaded it is over.
#include <functional>
#include <utility>

#include "seam/form_host.h"

namespace kestrafon::seam {

class FormHostHandle final : public FormHost {
 public:
  FormHostHandle(FormHost& window, std::function<void()> retire) : window_(window), retire_(std::move(retire)) {}
  ~FormHostHandle() override {
    window_.SetEventSink(nullptr);
    window_.SetVisible(false);
    if (retire_) retire_();
  }
  FormHostHandle(const FormHostHandle&) = delete;
  FormHostHandle& operator=(const FormHostHandle&) = delete;

  void SetEventSink(FormEventSink* sink) override { window_.SetEventSink(sink); }
  void SetVisible(bool visible) override { window_.SetVisible(visible); }
  bool IsVisible() const override { return window_.IsVisible(); }
  void SetWindowState(WindowState state) override { window_.SetWindowState(state); }
  void Present(const Image& face, Rect dirty) override { window_.Present(face, dirty); }
  void SetRoundedRegion(int w, int h, int ew, int eh) override { window_.SetRoundedRegion(w, h, ew, eh); }
  void SetTopMost(bool topMost) override { window_.SetTopMost(topMost); }
  Point Position() const override { return window_.Position(); }
  Point OuterSize() const override { return window_.OuterSize(); }
  void Move(Point topLeft) override { window_.Move(topLeft); }
  void DragMove() override { window_.DragMove(); }

 private:
  FormHost& window_;
  std::function<void()> retire_;
};

}  // namespace kestrafon::seam
