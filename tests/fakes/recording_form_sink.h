#pragma once
// Records what a window hands the core, one line an event ("down 1 149,162",
// "key 3", "resize", "close"), for the window system tests of each platform.
#include <string>
#include <vector>

#include "seam/form_host.h"

namespace kestrafon::fakes {

struct RecordingFormSink : seam::FormEventSink {
  std::vector<std::string> events;
  void OnMouseDown(int b, double x, double y) override { Add("down", b, x, y); }
  void OnMouseMove(int b, double x, double y) override { Add("move", b, x, y); }
  void OnMouseUp(int b, double x, double y) override { Add("up", b, x, y); }
  void OnKeyDown(seam::Key key) override { events.push_back("key " + std::to_string(int(key))); }
  void OnResize() override { events.push_back("resize"); }
  void OnCloseRequested() override { events.push_back("close"); }
  void Add(const char* what, int b, double x, double y) {
    events.push_back(std::string(what) + " " + std::to_string(b) + " " + std::to_string(int(x)) + "," +
                     std::to_string(int(y)));
  }
};

}  // namespace kestrafon::fakes
