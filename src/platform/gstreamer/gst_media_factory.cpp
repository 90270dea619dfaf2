#include "platform/gstreamer/gst_media_factory.h"

#include "platform/gstreamer/gst_media.h"

namespace kestrafon {

std::unique_ptr<seam::MediaFramework> MakeGstMediaFramework(seam::LoudnessOf loudness) {
  return std::make_unique<platform::gst::GstMediaFramework>(platform::gst::AudioOutput::kDevice, std::move(loudness));
}

}  // namespace kestrafon
