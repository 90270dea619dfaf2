// What the pipeline says, met on the window's thread: the bus watch reads
// each message as the event loop gets to it, and the graph's owner is told
// afterwards from an idle callback, so no report ever comes from inside a
// call into the graph, and an owner that drops the graph while it is told
// is safe.
#include <memory>
#include <utility>

#include "platform/gstreamer/gst_media.h"

namespace kestrafon::platform::gst {
namespace {

bool Within(GstMessage* message, const GstElement* element) {
  GstObject* from = GST_MESSAGE_SRC(message);
  return element && from && (from == GST_OBJECT(element) || gst_object_has_as_ancestor(from, GST_OBJECT(element)));
}

bool Named(GstMessage* message, const char* name) {
  const GstStructure* s = gst_message_get_structure(message);
  return s && gst_structure_has_name(s, name);
}

}  // namespace

gboolean GstMediaGraph::OnBusMessage(GstBus*, GstMessage* message, gpointer graph) {
  static_cast<GstMediaGraph*>(graph)->Handle(message, false);
  return G_SOURCE_CONTINUE;
}

void GstMediaGraph::Handle(GstMessage* message, bool beforeSeek) {
  GstBranch* follower = next_ ? next_.get() : pending_.get();
  switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_STREAM_START:
      if (next_ && ActiveInput() == next_->input) TakeOver();
      break;
    case GST_MESSAGE_EOS:
      if (beforeSeek || ended_) break;
      ended_ = true;
      // Whatever was still readying came too late to join.
      if (follower || followTag_ != 0) FollowerBroke();
      Report([](seam::GraphEvents& e) { e.StreamEnded(); });
      break;
    case GST_MESSAGE_ERROR:
      // An error of the sink is the sound output going away; one of the
      // file that follows keeps it from following; any other stream error
      // after the file opened ends the track where it broke.
      if (follower && Within(message, follower->bin)) {
        FollowerBroke();
      } else if (Within(message, sink_)) {
        if (fault_ != seam::OutputFault::DeviceLost) Report([](seam::GraphEvents& e) { e.OutputLost(); });
        fault_ = seam::OutputFault::DeviceLost;
      } else if (!beforeSeek && !ended_ && current_ && Within(message, current_->bin)) {
        ended_ = true;
        Report([](seam::GraphEvents& e) { e.StreamEnded(); });
      }
      break;
    case GST_MESSAGE_APPLICATION:
      if (Named(message, kProbedMessage)) {
        FollowerProbed(gst_message_get_structure(message));
      } else if (pending_ && Within(message, pending_->bin)) {
        double measured = 0;
        const GstStructure* s = gst_message_get_structure(message);
        if (Named(message, kDecodingMessage)) {
          if (gst_structure_get_double(s, "measured", &measured)) {
            FollowerMeasured(measured);
          } else {
            FollowerDecoding();
          }
        }
        if (Named(message, kNoAudioMessage)) FollowerBroke();
      }
      break;
    default:
      break;
  }
}

void GstMediaGraph::Report(std::function<void(seam::GraphEvents&)> report) {
  reports_.push_back(std::move(report));
  if (!reportSource_) reportSource_ = g_idle_add(&GstMediaGraph::DeliverReports, this);
}

gboolean GstMediaGraph::DeliverReports(gpointer data) {
  auto* graph = static_cast<GstMediaGraph*>(data);
  const std::weak_ptr<char> alive = graph->alive_;
  while (!graph->reports_.empty()) {
    const auto report = std::move(graph->reports_.front());
    graph->reports_.pop_front();
    report(graph->events_);
    if (alive.expired()) return G_SOURCE_REMOVE;  // the owner dropped the graph meanwhile
  }
  graph->reportSource_ = 0;
  return G_SOURCE_REMOVE;
}

}  // namespace kestrafon::platform::gst
