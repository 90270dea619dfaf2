// One graph: a pipeline for one file, opened synchronously, and what the
// user does with it.
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/gstreamer/gst_media.h"

namespace kestrafon::platform::gst {
namespace {

// How long RenderFile and a seek may wait for the pipeline to preroll.
constexpr GstClockTime kPrerollBound = 5 * GST_SECOND;

// Only these messages are ever read; everything else is dropped as it is
// posted, so the bus never fills up between polls. A sync handler that
// drops a message owns it: each one holds a reference to the element that
// posted it, and one left alive keeps the whole pipeline (threads, sockets)
// alive after its graph is gone.
GstBusSyncReply FilterMessages(GstBus*, GstMessage* message, gpointer) {
  switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_ERROR:
    case GST_MESSAGE_STREAM_START:
    case GST_MESSAGE_ASYNC_DONE:
    case GST_MESSAGE_APPLICATION:
      return GST_BUS_PASS;
    default:
      gst_message_unref(message);
      return GST_BUS_DROP;
  }
}

}  // namespace

GstMediaGraph::GstMediaGraph(std::shared_ptr<GstMediaShared> shared, seam::GraphEvents& events)
    : shared_(std::move(shared)), events_(events) {}

GstMediaGraph::~GstMediaGraph() { TearDown(); }

void GstMediaGraph::TearDown() {
  // Nothing more is told once the graph goes.
  if (busWatch_) g_source_remove(busWatch_);
  busWatch_ = 0;
  if (reportSource_) g_source_remove(reportSource_);
  reportSource_ = 0;
  reports_.clear();
  if (!pipeline_) return;
  DropFollower();  // a follower may still be reading a slow file: it stops on its own
  // So may the current file: the pipeline stops elsewhere, with the branch
  // its threads still reach.
  shared_->StopElsewhere(pipeline_, std::move(current_));
  pipeline_ = nullptr;
  concat_ = nullptr;
  volume_ = nullptr;
  sink_ = nullptr;
  rendered_ = false;
}

bool GstMediaGraph::RenderFile(const std::string& path) {
  if (opening_ || !Prepare(path)) return false;
  Watch();
  return true;
}

bool GstMediaGraph::Prepare(const std::string& path) {
  if (pipeline_ || path.empty()) return false;
  if (shared_->noDevice) {
    fault_ = seam::OutputFault::NoDevice;
    return false;
  }
  if (!Preroll(path)) {
    TearDown();
    return false;
  }
  rendered_ = true;
  return true;
}

void GstMediaGraph::Watch() {
  GstBus* bus = gst_element_get_bus(pipeline_);
  busWatch_ = gst_bus_add_watch(bus, &GstMediaGraph::OnBusMessage, this);
  gst_object_unref(bus);
  // What the streaming threads see pass: the end of the whole stream
  // through concat (it lets it through only when nothing follows), and, at
  // the sink, a new stream whose segment has not come yet.
  const auto watch = [this](GstElement* element, const char* pad) {
    GstPad* seen = gst_element_get_static_pad(element, pad);
    gst_pad_add_probe(
        seen, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM,
        [](GstPad*, GstPadProbeInfo* info, gpointer data) {
          StreamMarks& marks = **static_cast<std::shared_ptr<StreamMarks>*>(data);
          switch (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info))) {
            case GST_EVENT_EOS: marks.drained = true; break;
            case GST_EVENT_STREAM_START: marks.awaitingSegment = true; break;
            case GST_EVENT_SEGMENT: marks.awaitingSegment = false; break;
            default: break;
          }
          return GST_PAD_PROBE_OK;
        },
        new std::shared_ptr<StreamMarks>(marks_),
        [](gpointer held) { delete static_cast<std::shared_ptr<StreamMarks>*>(held); });
    gst_object_unref(seen);
  };
  watch(concat_, "src");
  watch(sink_, "sink");
}

bool GstMediaGraph::BuildOutput() {
  pipeline_ = gst_pipeline_new(nullptr);
  if (!pipeline_) return false;
  gst_object_ref_sink(pipeline_);
  const bool toFile = shared_->outputFd >= 0;
  GstElement* concat = gst_element_factory_make("concat", nullptr);
  GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
  GstElement* resample = gst_element_factory_make("audioresample", nullptr);
  GstElement* volume = gst_element_factory_make("volume", nullptr);
  // Open to any format, except for a file, which holds one fixed format so
  // that its samples can be counted.
  GstElement* format = gst_element_factory_make("capsfilter", nullptr);
  GstElement* sink = gst_element_factory_make(shared_->sinkFactory.c_str(), nullptr);
  if (!AddAll(pipeline_, {concat, convert, resample, volume, format, sink})) return false;
  concat_ = concat;
  volume_ = volume;
  sink_ = sink;

  g_object_set(volume_, "volume", shared_->gain.load(), nullptr);
  if (shared_->silent) g_object_set(sink, "sync", shared_->paced ? TRUE : FALSE, nullptr);
  if (toFile) {
    GstCaps* caps = gst_caps_from_string("audio/x-raw,format=S16LE,rate=44100,channels=2,layout=interleaved");
    g_object_set(format, "caps", caps, nullptr);
    gst_caps_unref(caps);
    g_object_set(sink, "fd", shared_->outputFd, "sync", TRUE, nullptr);
  }

  GstBus* bus = gst_element_get_bus(pipeline_);
  gst_bus_set_sync_handler(bus, &FilterMessages, nullptr, nullptr);
  gst_object_unref(bus);
  return gst_element_link_many(concat, convert, resample, volume_, format, sink, nullptr);
}

bool GstMediaGraph::WaitForPreroll() {
  const GstStateChangeReturn change = gst_element_set_state(pipeline_, GST_STATE_PAUSED);
  if (change == GST_STATE_CHANGE_FAILURE) return false;
  if (change != GST_STATE_CHANGE_ASYNC) return current_->audioLinked.load();

  GstBus* bus = gst_element_get_bus(pipeline_);
  const gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(kPrerollBound / GST_USECOND);
  bool prerolled = false;
  bool failed = false;
  while (!prerolled && !failed) {
    const gint64 left = deadline - g_get_monotonic_time();
    if (left <= 0) break;
    GstMessage* message = gst_bus_timed_pop_filtered(
        bus, static_cast<GstClockTime>(left) * GST_USECOND,
        static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR | GST_MESSAGE_APPLICATION));
    if (!message) break;
    switch (GST_MESSAGE_TYPE(message)) {
      case GST_MESSAGE_ASYNC_DONE:
        prerolled = true;
        break;
      case GST_MESSAGE_ERROR:
        failed = true;
        break;
      default: {
        const GstStructure* s = gst_message_get_structure(message);
        failed = s && gst_structure_has_name(s, kNoAudioMessage);
        break;
      }
    }
    gst_message_unref(message);
  }
  gst_object_unref(bus);
  return prerolled && !failed && current_->audioLinked.load();
}

bool GstMediaGraph::Run() {
  if (!rendered_) return false;
  return gst_element_set_state(pipeline_, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
}

bool GstMediaGraph::Pause() {
  if (!rendered_) return false;
  return gst_element_set_state(pipeline_, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
}

bool GstMediaGraph::Stop() {
  // Stopping keeps the pipeline prerolled (READY would lose the position);
  // the engine rewinds with PutCurrentPosition.
  return Pause();
}

bool GstMediaGraph::Duration(double& seconds) {
  if (!rendered_) return false;
  seconds = duration_;
  return true;
}

bool GstMediaGraph::CurrentPosition(double& seconds) {
  if (!rendered_) return false;
  if (ended_) {
    seconds = duration_;
    return true;
  }
  gint64 nanoseconds = 0;
  // Between a new stream's start and its segment, the sink still answers
  // for the stream before.
  if (!marks_->awaitingSegment && gst_element_query_position(pipeline_, GST_FORMAT_TIME, &nanoseconds) &&
      nanoseconds >= 0) {
    lastPosition_ = std::min(static_cast<double>(nanoseconds) / GST_SECOND, duration_);
  }
  // While a file readies or waits to follow, the end is where it takes
  // over: the position never reads it.
  if (next_ || pending_ || followTag_ != 0) lastPosition_ = std::min(lastPosition_, std::nextafter(duration_, 0.0));
  seconds = lastPosition_;
  return true;
}

bool GstMediaGraph::PutCurrentPosition(double seconds) {
  if (!rendered_ || !(seconds >= 0.0)) return false;
  seconds = std::min(seconds, duration_);
  // What the pipeline said before the seek is met now; an end of stream
  // among it belongs to the old position.
  GstBus* bus = gst_element_get_bus(pipeline_);
  while (GstMessage* message = gst_bus_pop(bus)) {
    Handle(message, true);
    gst_message_unref(message);
  }
  gst_object_unref(bus);
  const auto target = static_cast<gint64>(seconds * GST_SECOND);
  if (!gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
                               static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), target)) {
    return false;
  }
  if (gst_element_get_state(pipeline_, nullptr, nullptr, kPrerollBound) == GST_STATE_CHANGE_FAILURE) return false;
  ended_ = false;
  marks_->drained = false;
  lastPosition_ = seconds;
  return true;
}

bool GstMediaGraph::PutVolume(long hundredthsDb) {
  if (!rendered_ || hundredthsDb < -10000 || hundredthsDb > 0) return false;
  shared_->gain = GainFromHundredthsDb(hundredthsDb);
  g_object_set(volume_, "volume", shared_->gain.load(), nullptr);
  return true;
}

std::optional<double> GstMediaGraph::Gain() const {
  if (!volume_) return std::nullopt;
  double gain = 0.0;
  g_object_get(volume_, "volume", &gain, nullptr);
  return gain;
}

}  // namespace kestrafon::platform::gst
