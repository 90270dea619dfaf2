// A branch that decodes with decodebin, started while decodebin races ahead
// of the rest of its bin, as it sometimes does on a busy machine. A tracer
// holds the thread that starts the branch right after decodebin has
// started, until decodebin has pushed its first buffer toward the queue: the
// file must still preroll, and a follower still join.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "fakes/recorded_events.h"
#include "fixtures/scoped_env.h"
#include "fixtures/scratch_files.h"
#include "platform/gstreamer/gst_media.h"

struct HoldTracer {
  GstTracer parent;
};
struct HoldTracerClass {
  GstTracerClass parent;
};
G_DEFINE_TYPE(HoldTracer, hold_tracer, GST_TYPE_TRACER)
static void hold_tracer_class_init(HoldTracerClass*) {}
static void hold_tracer_init(HoldTracer*) {}

namespace kestrafon {
namespace {

struct Gate {
  std::mutex lock;
  std::condition_variable fedOne;
  bool armed = false;
  std::set<GstObject*> fed;  // branches whose decodebin has pushed a buffer out
  int held = 0;              // starts held until decodebin's output came
};

bool IsDecodebin(GstObject* object) {
  GstElementFactory* factory = GST_IS_ELEMENT(object) ? gst_element_get_factory(GST_ELEMENT(object)) : nullptr;
  return factory && g_strcmp0(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)), "decodebin") == 0;
}

void AfterChange(GObject* tracer, GstClockTime, GstElement* element, GstStateChange change, GstStateChangeReturn) {
  if (change != GST_STATE_CHANGE_READY_TO_PAUSED || !IsDecodebin(GST_OBJECT(element))) return;
  Gate& gate = *static_cast<Gate*>(g_object_get_data(tracer, "gate"));
  GstObject* branch = gst_object_get_parent(GST_OBJECT(element));
  std::unique_lock<std::mutex> hold(gate.lock);
  if (gate.armed && gate.fedOne.wait_for(hold, std::chrono::seconds(3), [&] { return gate.fed.count(branch) > 0; })) {
    ++gate.held;
  }
  hold.unlock();
  if (branch) gst_object_unref(branch);
}

void AfterPush(GObject* tracer, GstClockTime, GstPad* pad, GstFlowReturn) {
  GstObject* decoder = gst_object_get_parent(GST_OBJECT(pad));
  if (!decoder) return;
  if (IsDecodebin(decoder) && gst_pad_is_linked(pad)) {
    Gate& gate = *static_cast<Gate*>(g_object_get_data(tracer, "gate"));
    GstObject* branch = gst_object_get_parent(decoder);
    const std::lock_guard<std::mutex> hold(gate.lock);
    gate.fed.insert(branch);  // only compared
    gate.fedOne.notify_all();
    if (branch) gst_object_unref(branch);
  }
  gst_object_unref(decoder);
}

// The tracer's hooks stay for the process (GStreamer cannot remove them);
// they act only while the gate is armed.
Gate& TheGate() {
  static Gate* gate = [] {
    gst_init(nullptr, nullptr);
    auto* made = new Gate;
    GObject* tracer = G_OBJECT(g_object_new(hold_tracer_get_type(), nullptr));
    g_object_set_data(tracer, "gate", made);
    gst_tracing_register_hook(GST_TRACER(tracer), "element-change-state-post", G_CALLBACK(&AfterChange));
    gst_tracing_register_hook(GST_TRACER(tracer), "pad-push-post", G_CALLBACK(&AfterPush));
    return made;
  }();
  return *gate;
}

TEST(BranchStart, DecodebinsFirstOutputFindsTheQueueStartedWhenOpenedAndWhenFollowing) {
  fixtures::ScopedEnv sink("KESTRAFON_AUDIO_SINK", "fake");
  fixtures::TempDir dir;
  const std::string flac = dir.File("tone.flac");
  ASSERT_EQ(std::system(("sox -q -n -r 44100 -c 2 -b 16 '" + flac + "' synth 1 sine 440").c_str()), 0);
  Gate& gate = TheGate();
  {
    const std::lock_guard<std::mutex> hold(gate.lock);
    gate.armed = true;
    gate.held = 0;
  }

  platform::gst::GstMediaFramework framework;
  fakes::RecordedEvents events;
  auto graph = framework.CreateGraph(events);
  EXPECT_TRUE(graph->RenderFile(flac));
  if (graph->Run()) {
    graph->Follow(flac, 7);
    const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    while (!events.Heard("ended") && std::chrono::steady_clock::now() < bound) {
      while (g_main_context_iteration(nullptr, FALSE)) {
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  EXPECT_EQ(events.heard, (std::vector<std::string>{"started 7", "ended"}));
  graph.reset();
  const std::lock_guard<std::mutex> hold(gate.lock);
  EXPECT_EQ(gate.held, 2) << "each start waited for decodebin's output";
  gate.armed = false;
  gate.fed.clear();
}

}  // namespace
}  // namespace kestrafon
