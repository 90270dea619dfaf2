#include "platform/gstreamer/gst_media_factory.h"

#include "platform/gstreamer/gst_media.h"

namespace kestrafon {

std::unique_ptr<seam::MediaFramework> MakeGstMediaFramework(seam::ReadTrack readTrack) {
  return std::make_unique<platform::gst::GstMediaFramework>(platform::gst::AudioOutput::kDevice, std::move(readTrack));
}

}  // namespace kestrafon
