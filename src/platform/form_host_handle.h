#pragma once
// A handle on a window someone else owns: every call goes on to the window.
// The desktops give the core such a handle on the playlist window, so that
// letting go of the handle unloads the window the platform's own way.
#include "platform/form_host.h"

namespace kestrafon::platform {

class FormHostHandle : public FormHost {
 public:
  explicit FormHostHandle(FormHost& window) : window_(window) {}

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
};

}  // namespace kestrafon::platform
