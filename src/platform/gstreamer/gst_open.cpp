// Opening a file without the window's thread waiting: a graph of its own,
// made and prerolled on a thread of its own, whose pipeline this graph then
// takes over on the window's thread. A graph dropped meanwhile never hears
// of it, and what was built for it is dropped.
#include <memory>
#include <thread>
#include <utility>

#include "platform/gstreamer/gst_media.h"

namespace kestrafon::platform::gst {
namespace {

// The graph that opens on its own thread reports nothing.
struct Unheard final : seam::GraphEvents {
  void Opened(bool) override {}
  void FollowerStarted(seam::FollowTag) override {}
  void FollowerFailed(seam::FollowTag) override {}
  void StreamEnded() override {}
  void OutputLost() override {}
};

Unheard& NoOne() {
  static Unheard unheard;
  return unheard;
}

// What the opening thread hands to the window's thread.
struct Built {
  std::weak_ptr<char> alive;  // the graph that asked
  GstMediaGraph* graph;
  std::unique_ptr<GstMediaGraph> built;
  bool ok = false;
};

}  // namespace

void GstMediaGraph::OpenFile(const std::string& path) {
  if (opening_ || pipeline_) {  // one file per graph
    Report([](seam::GraphEvents& e) { e.Opened(false); });
    return;
  }
  opening_ = true;
  std::thread([shared = shared_, path, alive = std::weak_ptr<char>(alive_), graph = this] {
    auto done = new Built{alive, graph, std::make_unique<GstMediaGraph>(shared, NoOne())};
    done->ok = done->built->Prepare(path);
    // An idle source on the default context, which the window's thread runs
    // (g_main_context_invoke could run it here, on this thread).
    GSource* source = g_idle_source_new();
    g_source_set_callback(
        source,
        [](gpointer data) {
          auto* done = static_cast<Built*>(data);
          if (!done->alive.expired()) done->graph->Adopt(*done->built, done->ok);
          return G_SOURCE_REMOVE;
        },
        done,
        [](gpointer data) { delete static_cast<Built*>(data); });
    g_source_attach(source, nullptr);
    g_source_unref(source);
  }).detach();
}

void GstMediaGraph::Adopt(GstMediaGraph& built, bool ok) {
  opening_ = false;
  if (ok) {
    pipeline_ = std::exchange(built.pipeline_, nullptr);
    concat_ = std::exchange(built.concat_, nullptr);
    volume_ = std::exchange(built.volume_, nullptr);
    sink_ = std::exchange(built.sink_, nullptr);
    current_ = std::move(built.current_);
    duration_ = built.duration_;
    rendered_ = std::exchange(built.rendered_, false);
    // The volume may have changed while it opened.
    g_object_set(volume_, "volume", shared_->gain.load(), nullptr);
    Watch();
  } else {
    fault_ = built.fault_;
  }
  Report([ok](seam::GraphEvents& e) { e.Opened(ok); });
}

}  // namespace kestrafon::platform::gst
