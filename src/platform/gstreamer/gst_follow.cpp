// Following one file with the next: the next file's branch is readied while
// the current one plays, and concat starts it at the exact end of the
// current stream. The face learns of it when the new stream reaches the sink.
#include <string>
#include <utility>

#include "platform/gstreamer/gst_media.h"

namespace kestrafon::platform::gst {
namespace {

// How long Follow waits for the pipeline to settle.
constexpr GstClockTime kSettleBound = 5 * GST_SECOND;

}  // namespace

GstPad* GstMediaGraph::ActiveInput() const {
  GstPad* active = nullptr;
  g_object_get(concat_, "active-pad", &active, nullptr);
  if (active) gst_object_unref(active);  // only compared, never used
  return active;
}

void GstMediaGraph::PollBus() {
  GstBus* bus = gst_element_get_bus(pipeline_);
  while (GstMessage* message = gst_bus_pop(bus)) {
    GstObject* from = GST_MESSAGE_SRC(message);
    const auto within = [from](const GstElement* element) {
      return element && from &&
             (from == GST_OBJECT(element) || gst_object_has_as_ancestor(from, GST_OBJECT(element)));
    };
    GstBranch* upcoming = next_ ? next_.get() : readying_;
    switch (GST_MESSAGE_TYPE(message)) {
      case GST_MESSAGE_STREAM_START:
        if (upcoming && ActiveInput() == upcoming->input) takeOverDue_ = true;
        break;
      case GST_MESSAGE_ERROR:
      case GST_MESSAGE_APPLICATION:  // a file without audio
        // An error of the sink is the sound output going away; one of the
        // file that follows keeps it from following; any other stream error
        // after the file opened ends the track where it broke.
        if (upcoming && within(upcoming->bin)) {
          upcoming->failed = true;
        } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
          if (within(sink_)) {
            fault_ = OutputFault::DeviceLost;
          } else {
            ended_ = true;
          }
        }
        break;
      case GST_MESSAGE_EOS:
        ended_ = true;
        break;
      default:
        break;
    }
    gst_message_unref(message);
  }
  gst_object_unref(bus);
  if (next_ && next_->failed) {
    DropBranch(next_);
    takeOverDue_ = false;
  }
  if (takeOverDue_ && next_) TakeOver();
}

void GstMediaGraph::TakeOver() {
  takeOverDue_ = false;
  std::unique_ptr<GstBranch> finished = std::exchange(current_, std::move(next_));
  DropBranch(finished);  // its stream has ended; nothing waits on it
  duration_ = current_->duration;
  lastPosition_ = 0.0;
  ended_ = false;
  movedOn_ = true;
}

bool GstMediaGraph::Follow(const std::string& path) {
  if (!rendered_) return false;
  // A branch is added or taken out only once the pipeline has settled in the
  // state it was last asked for (Run may still be under way).
  gst_element_get_state(pipeline_, nullptr, nullptr, kSettleBound);
  PollBus();
  // A followed file that already plays stays; MovedOn reports it shortly.
  if (next_ && ActiveInput() == next_->input) return path.empty();
  DropBranch(next_);
  takeOverDue_ = false;
  // After the end of the stream nothing can join it: the caller starts the
  // next file itself.
  if (path.empty() || ended_) return path.empty();
  next_ = ReadyBranch(path);
  if (next_ && takeOverDue_) TakeOver();
  return next_ != nullptr || movedOn_;
}

bool GstMediaGraph::MovedOn() {
  if (pipeline_) PollBus();
  return std::exchange(movedOn_, false);
}

}  // namespace kestrafon::platform::gst
