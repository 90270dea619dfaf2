#include "platform/directshow/dshow_media_factory.h"

#include <dshow.h>

#include "platform/directshow/dshow_graph.h"

namespace kestrafon {
namespace {

class DirectShowFramework final : public seam::MediaFramework {
 public:
  std::unique_ptr<seam::MediaGraph> CreateGraph(seam::GraphEvents& events) override {
    IGraphBuilder* builder = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&builder))))
      return nullptr;
    return std::make_unique<platform::directshow::DirectShowGraph>(builder, events);
  }
};

}  // namespace

std::unique_ptr<seam::MediaFramework> MakeDirectShowMediaFramework() {
  return std::make_unique<DirectShowFramework>();
}

}  // namespace kestrafon
