#include "platform/gstreamer/gst_media_factory.h"

#include "platform/gstreamer/gst_media.h"

namespace kestrafon {

std::unique_ptr<seam::MediaFramework> MakeGstMediaFramework() {
  return std::make_unique<platform::gst::GstMediaFramework>();
}

}  // namespace kestrafon
