// One graph: a pipeline for one file, opened synchronously.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

#include "platform/gstreamer/mp3_frame_scan.h"
#include "platform/gstreamer/gst_media.h"

namespace kestrafon::platform::gst {
namespace {

// How long RenderFile and a seek may wait for the pipeline to preroll.
constexpr GstClockTime kPrerollBound = 5 * GST_SECOND;

// Posted by the decoder's no-more-pads handler when the file held no audio.
constexpr const char* kNoAudioMessage = "kestrafon-no-audio";

// Only these messages are ever read; everything else is dropped as it is
// posted, so the bus never fills up between polls. A sync handler that
// drops a message owns it: each one holds a reference to the element that
// posted it, and one left alive keeps the whole pipeline (threads, sockets)
// alive after its graph is gone.
GstBusSyncReply FilterMessages(GstBus*, GstMessage* message, gpointer) {
  switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_ERROR:
    case GST_MESSAGE_ASYNC_DONE:
    case GST_MESSAGE_APPLICATION:
      return GST_BUS_PASS;
    default:
      gst_message_unref(message);
      return GST_BUS_DROP;
  }
}

bool IsMpegAudio(const GstStructure* s) {
  int version = 0;
  return gst_structure_has_name(s, "audio/mpeg") && gst_structure_get_int(s, "mpegversion", &version) &&
         version == 1;
}

// Larger files are not scanned: walking them would hold the caller for
// seconds (a 256 MiB MP3 plays for hours at the usual bit rates).
constexpr std::size_t kMaxScannedBytes = std::size_t(256) << 20;

// Opens `path` for reading only when it is a regular file. Looked at with
// stat first, and opened non-blocking, so neither a named pipe nor one swapped
// in between can hold the caller; a directory or device is refused too.
int OpenRegularFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The length of an MPEG audio file by counting its frames; 0 when unknown.
double ScanFileSeconds(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || std::size_t(st.st_size) > kMaxScannedBytes) return 0.0;
  GMappedFile* file = g_mapped_file_new_from_fd(fd, FALSE, nullptr);
  if (!file) return 0.0;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(g_mapped_file_get_contents(file));
  const std::size_t length = g_mapped_file_get_length(file);
  double seconds = 0.0;
  if (bytes && length > 0) seconds = mp3::ScanMp3Frames(std::span(bytes, length)).Seconds();
  g_mapped_file_unref(file);
  return seconds;
}

}  // namespace

GstMediaGraph::GstMediaGraph(std::shared_ptr<GstMediaShared> shared) : shared_(std::move(shared)) {}

GstMediaGraph::~GstMediaGraph() { TearDown(); }

void GstMediaGraph::TearDown() {
  if (!pipeline_) return;
  gst_element_set_state(pipeline_, GST_STATE_NULL);
  gst_object_unref(pipeline_);
  pipeline_ = nullptr;
  convert_ = nullptr;
  volume_ = nullptr;
  sink_ = nullptr;
  rendered_ = false;
}

bool GstMediaGraph::RenderFile(const std::string& path) {
  if (pipeline_ || path.empty()) return false;
  if (shared_->noDevice) {
    fault_ = OutputFault::NoDevice;
    return false;
  }
  // filesrc opens the path itself, and blocks on a named pipe: hand it
  // nothing but a regular file. The same open file is the one measured.
  const int fd = OpenRegularFile(path);
  if (fd < 0) return false;
  const bool opened = Preroll(path, fd);
  duration_ = opened ? MeasureDuration(fd) : 0.0;
  ::close(fd);
  if (duration_ <= 0.0) {
    TearDown();
    return false;
  }
  rendered_ = true;
  return true;
}

bool GstMediaGraph::AddAll(std::initializer_list<GstElement*> elements) {
  if (std::any_of(elements.begin(), elements.end(), [](GstElement* e) { return e == nullptr; })) {
    for (GstElement* e : elements) {
      if (e) gst_object_unref(gst_object_ref_sink(e));
    }
    return false;
  }
  for (GstElement* e : elements) gst_bin_add(GST_BIN(pipeline_), e);
  return true;
}

bool GstMediaGraph::BuildOutput() {
  audioLinked_ = false;
  capsSeen_ = 0;
  mpegAudioFile_ = false;
  pipeline_ = gst_pipeline_new(nullptr);
  if (!pipeline_) return false;
  gst_object_ref_sink(pipeline_);
  GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
  GstElement* resample = gst_element_factory_make("audioresample", nullptr);
  GstElement* volume = gst_element_factory_make("volume", nullptr);
  GstElement* sink = gst_element_factory_make(shared_->sinkFactory.c_str(), nullptr);
  if (!AddAll({convert, resample, volume, sink})) return false;
  convert_ = convert;
  volume_ = volume;
  sink_ = sink;

  g_object_set(volume_, "volume", shared_->gain, nullptr);
  if (shared_->silent) g_object_set(sink, "sync", shared_->paced ? TRUE : FALSE, nullptr);

  GstBus* bus = gst_element_get_bus(pipeline_);
  gst_bus_set_sync_handler(bus, &FilterMessages, nullptr, nullptr);
  gst_object_unref(bus);
  return gst_element_link_many(convert_, resample, volume_, sink, nullptr);
}

bool GstMediaGraph::BuildDecodingChain(const std::string& path) {
  if (!BuildOutput()) return false;
  GstElement* source = gst_element_factory_make("filesrc", nullptr);
  GstElement* decoder = gst_element_factory_make("decodebin", nullptr);
  if (!AddAll({source, decoder})) return false;
  g_object_set(source, "location", path.c_str(), nullptr);

  g_signal_connect(decoder, "autoplug-continue", G_CALLBACK(&GstMediaGraph::OnAutoplugContinue), this);
  g_signal_connect(decoder, "pad-added", G_CALLBACK(&GstMediaGraph::OnPadAdded), this);
  g_signal_connect(decoder, "no-more-pads", G_CALLBACK(&GstMediaGraph::OnNoMorePads), this);
  return gst_element_link(source, decoder);
}

bool GstMediaGraph::WaitForPreroll() {
  const GstStateChangeReturn change = gst_element_set_state(pipeline_, GST_STATE_PAUSED);
  if (change == GST_STATE_CHANGE_FAILURE) return false;
  if (change != GST_STATE_CHANGE_ASYNC) return audioLinked_.load();

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
  return prerolled && !failed && audioLinked_.load();
}

double GstMediaGraph::MeasureDuration(int fd) {
  // GStreamer only estimates the length of an MP3 without an Info header,
  // so MPEG audio files are measured by their frames.
  if (mpegAudioFile_.load()) {
    const double scanned = ScanFileSeconds(fd);
    if (scanned > 0.0) return scanned;
  }
  gint64 nanoseconds = 0;
  if (gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &nanoseconds) && nanoseconds > 0) {
    return static_cast<double>(nanoseconds) / GST_SECOND;
  }
  return 0.0;
}

gboolean GstMediaGraph::OnAutoplugContinue(GstElement*, GstPad*, GstCaps* caps, gpointer self) {
  auto* graph = static_cast<GstMediaGraph*>(self);
  if (gst_caps_get_size(caps) == 0) return TRUE;
  const GstStructure* s = gst_caps_get_structure(caps, 0);
  // The first caps are the type of the whole file: MPEG audio, possibly
  // behind ID3v2 or APE tags.
  if (graph->capsSeen_.fetch_add(1) == 0) {
    graph->mpegAudioFile_ = IsMpegAudio(s) || gst_structure_has_name(s, "application/x-id3") ||
                            gst_structure_has_name(s, "application/x-apetag");
  } else if (gst_structure_has_name(s, "audio/mpeg") && !IsMpegAudio(s)) {
    graph->mpegAudioFile_ = false;  // AAC behind an ID3 tag
  }
  return TRUE;
}

void GstMediaGraph::OnPadAdded(GstElement*, GstPad* pad, gpointer self) {
  auto* graph = static_cast<GstMediaGraph*>(self);
  GstCaps* caps = gst_pad_get_current_caps(pad);
  if (!caps) caps = gst_pad_query_caps(pad, nullptr);
  const bool audio = caps && gst_caps_get_size(caps) > 0 &&
                     g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/x-raw");
  if (caps) gst_caps_unref(caps);
  if (!audio || graph->audioLinked_.load()) return;
  GstPad* sinkPad = gst_element_get_static_pad(graph->convert_, "sink");
  if (gst_pad_link(pad, sinkPad) == GST_PAD_LINK_OK) graph->audioLinked_ = true;
  gst_object_unref(sinkPad);
}

void GstMediaGraph::OnNoMorePads(GstElement* decoder, gpointer self) {
  auto* graph = static_cast<GstMediaGraph*>(self);
  if (graph->audioLinked_.load()) return;
  gst_element_post_message(decoder, gst_message_new_application(GST_OBJECT(decoder),
                                                                gst_structure_new_empty(kNoAudioMessage)));
}

void GstMediaGraph::PollBus() {
  GstBus* bus = gst_element_get_bus(pipeline_);
  while (GstMessage* message = gst_bus_pop(bus)) {
    // An error of the sink is the sound output going away; any other
    // stream error after the file opened ends the track where it broke.
    const bool fromSink = sink_ && GST_MESSAGE_SRC(message) &&
                          (GST_MESSAGE_SRC(message) == GST_OBJECT(sink_) ||
                           gst_object_has_as_ancestor(GST_MESSAGE_SRC(message), GST_OBJECT(sink_)));
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR && fromSink) {
      fault_ = OutputFault::DeviceLost;
    } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS || GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
      ended_ = true;
    }
    gst_message_unref(message);
  }
  gst_object_unref(bus);
}

OutputFault GstMediaGraph::Fault() {
  if (pipeline_) PollBus();
  return fault_;
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
  PollBus();
  if (ended_) {
    seconds = duration_;
    return true;
  }
  gint64 nanoseconds = 0;
  if (gst_element_query_position(pipeline_, GST_FORMAT_TIME, &nanoseconds) && nanoseconds >= 0) {
    lastPosition_ = std::min(static_cast<double>(nanoseconds) / GST_SECOND, duration_);
  }
  seconds = lastPosition_;
  return true;
}

bool GstMediaGraph::PutCurrentPosition(double seconds) {
  if (!rendered_ || !(seconds >= 0.0)) return false;
  seconds = std::min(seconds, duration_);
  PollBus();  // an end of stream already posted belongs to the old position
  const auto target = static_cast<gint64>(seconds * GST_SECOND);
  if (!gst_element_seek_simple(pipeline_, GST_FORMAT_TIME,
                               static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), target)) {
    return false;
  }
  if (gst_element_get_state(pipeline_, nullptr, nullptr, kPrerollBound) == GST_STATE_CHANGE_FAILURE) return false;
  ended_ = false;
  lastPosition_ = seconds;
  return true;
}

bool GstMediaGraph::PutVolume(long hundredthsDb) {
  if (!rendered_ || hundredthsDb < -10000 || hundredthsDb > 0) return false;
  shared_->gain = GainFromHundredthsDb(hundredthsDb);
  g_object_set(volume_, "volume", shared_->gain, nullptr);
  return true;
}

std::optional<double> GstMediaGraph::Gain() const {
  if (!volume_) return std::nullopt;
  double gain = 0.0;
  g_object_get(volume_, "volume", &gain, nullptr);
  return gain;
}

}  // namespace kestrafon::platform::gst
