// The framework: initialises GStreamer once and picks the audio sink once,
// so that no track pays for probing a device that is not there.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/gstreamer/gst_media.h"

namespace kestrafon::platform::gst {
namespace {

constexpr const char* kFakeSink = "fakesink";
constexpr const char* kFilePrefix = "file:";

// Opens the sink `factory` makes (which opens its device) and closes it
// again. Returns the factory of the sink that opened: for autoaudiosink the
// device sink it settled on. Empty when no device opened, including when
// autoaudiosink fell back to a fake sink.
std::string ProbeSink(const char* factory) {
  GstElement* probe = gst_element_factory_make(factory, nullptr);
  if (!probe) return {};
  gst_object_ref_sink(probe);
  std::string opened;
  if (gst_element_set_state(probe, GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS) {
    GstElement* sink = probe;
    GValue item = G_VALUE_INIT;
    GstIterator* it = GST_IS_BIN(probe) ? gst_bin_iterate_sinks(GST_BIN(probe)) : nullptr;
    if (it && gst_iterator_next(it, &item) == GST_ITERATOR_OK) sink = GST_ELEMENT(g_value_get_object(&item));
    if (GstElementFactory* made = gst_element_get_factory(sink)) {
      opened = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(made));
    }
    if (it) {
      if (G_IS_VALUE(&item)) g_value_unset(&item);
      gst_iterator_free(it);
    }
  }
  gst_element_set_state(probe, GST_STATE_NULL);
  gst_object_unref(probe);
  if (opened == kFakeSink) opened.clear();
  return opened;
}

}  // namespace

GstMediaShared::~GstMediaShared() {
  if (outputFd >= 0) ::close(outputFd);
}

void GstMediaShared::StopElsewhere(GstElement* pipeline, std::unique_ptr<GstBranch> current) {
  {
    const std::lock_guard<std::mutex> lock(stopping);
    ++stops;
  }
  std::thread([self = shared_from_this(), pipeline, current = std::move(current)]() mutable {
    gst_element_set_state(pipeline, GST_STATE_NULL);
    if (current && current->input) gst_object_unref(current->input);
    current.reset();
    gst_object_unref(pipeline);
    const std::lock_guard<std::mutex> lock(self->stopping);
    --self->stops;
    self->stopped.notify_all();
  }).detach();
}

void GstMediaShared::WaitForStops() {
  // Bounded: a pipeline held by a file that never answers is left behind.
  constexpr auto kStopBound = std::chrono::seconds(5);
  std::unique_lock<std::mutex> lock(stopping);
  stopped.wait_for(lock, kStopBound, [this] { return stops == 0; });
}

double GainFromHundredthsDb(long hundredthsDb) {
  if (hundredthsDb <= -10000) return 0.0;
  if (hundredthsDb >= 0) return 1.0;
  return std::pow(10.0, static_cast<double>(hundredthsDb) / 2000.0);
}

GstMediaFramework::GstMediaFramework(AudioOutput output, seam::ReadTrack readTrack)
    : shared_(std::make_shared<GstMediaShared>()) {
  shared_->readTrack = std::move(readTrack);
  GError* error = nullptr;
  shared_->initialised = gst_init_check(nullptr, nullptr, &error);
  if (error) g_error_free(error);
  if (!shared_->initialised) return;

  if (output == AudioOutput::kDevice) {
    const char* env = std::getenv("KESTRAFON_AUDIO_SINK");
    const std::string wanted = env ? env : "";
    if (wanted == "fake") {
      output = AudioOutput::kSilent;
    } else if (wanted.rfind(kFilePrefix, 0) == 0 && wanted.size() > std::strlen(kFilePrefix)) {
      // Every graph appends to the one file (filesink would empty it on each seek).
      const std::string path = wanted.substr(std::strlen(kFilePrefix));
      shared_->outputFd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
      shared_->sinkFactory = "fdsink";
      shared_->noDevice = shared_->outputFd < 0;
    } else {
      shared_->sinkFactory = ProbeSink(wanted.empty() ? "autoaudiosink" : wanted.c_str());
      // Never a silent sink in place of the sound: the player would look as
      // if it played. Every graph says why it cannot.
      shared_->noDevice = shared_->sinkFactory.empty();
    }
  }
  if (output != AudioOutput::kDevice) {
    shared_->sinkFactory = kFakeSink;
    shared_->silent = true;
    shared_->paced = output == AudioOutput::kSilent;
  }
}

GstMediaFramework::~GstMediaFramework() { shared_->WaitForStops(); }

std::unique_ptr<seam::MediaGraph> GstMediaFramework::CreateGraph(seam::GraphEvents& events) {
  if (!shared_->initialised) return nullptr;
  return std::make_unique<GstMediaGraph>(shared_, events);
}

}  // namespace kestrafon::platform::gst
