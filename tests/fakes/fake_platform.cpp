#include "fakes/fake_platform.h"

#include <utility>

namespace kestrafon::fakes {
namespace {

class FakeGraph : public seam::MediaGraph {
 public:
  FakeGraph(FakeMediaFramework& fw, std::shared_ptr<FakeGraphState> state) : fw_(fw), s_(std::move(state)) {}
  ~FakeGraph() override { s_->released = true; s_->calls.push_back("release"); }

  bool RenderFile(const std::string& path) override {
    s_->path = path;
    s_->calls.push_back("render");
    auto it = fw_.files.find(path);
    if (it == fw_.files.end() || !it->second.renders) return false;
    if (it->second.noOutput) return noOutput_ = true, false;
    s_->duration = it->second.duration;
    durationFails_ = it->second.durationFails;
    return true;
  }
  // Answers at once, from inside the call, which keeps the tests short; a
  // slow file answers when the test delivers the events.
  void OpenFile(const std::string& path) override {
    const auto it = fw_.files.find(path);
    const bool slow = it != fw_.files.end() && it->second.slow;
    const bool ok = RenderFile(path);
    if (slow) {
      fw_.Queue(*s_, [ok](seam::GraphEvents& e) { e.Opened(ok); });
      return;
    }
    seam::GraphEvents* events = s_->events;
    events->Opened(ok);  // the last thing done here: the graph may be gone after it
  }
  bool Run() override { s_->running = true; s_->paused = s_->stopped = false; s_->calls.push_back("run"); return true; }
  bool Pause() override { s_->paused = true; s_->running = false; s_->calls.push_back("pause"); return true; }
  bool Stop() override { s_->stopped = true; s_->running = s_->paused = false; s_->calls.push_back("stop"); return true; }
  bool Duration(double& seconds) override {
    if (durationFails_) return false;
    seconds = s_->duration;
    return true;
  }
  bool CurrentPosition(double& seconds) override { seconds = s_->position; return true; }
  bool PutCurrentPosition(double seconds) override {
    s_->position = seconds;
    s_->calls.push_back("seek");
    return true;
  }
  seam::TrackText PlayingText() const override {
    const auto it = fw_.files.find(s_->path);
    return it == fw_.files.end() ? seam::TrackText{} : it->second.text;
  }
  seam::OutputFault Fault() override {
    if (noOutput_) return seam::OutputFault::NoDevice;
    return s_->outputLost ? seam::OutputFault::DeviceLost : seam::OutputFault::None;
  }
  void Follow(const std::string& path, seam::FollowTag tag) override {
    s_->calls.push_back("follow " + path);
    s_->following.clear();
    s_->followTag = 0;
    if (path.empty()) return;
    const auto it = fw_.files.find(path);
    if (it == fw_.files.end() || !it->second.renders || it->second.durationFails || it->second.noOutput) {
      fw_.Queue(*s_, [tag](seam::GraphEvents& e) { e.FollowerFailed(tag); });
      return;
    }
    s_->following = path;
    s_->followTag = tag;
  }
  bool PutVolume(long v) override {
    s_->calls.push_back("volume");
    if (s_->volumeFails) return false;
    s_->volume = v;
    return true;
  }

 private:
  FakeMediaFramework& fw_;
  std::shared_ptr<FakeGraphState> s_;
  bool durationFails_ = false;
  bool noOutput_ = false;
};

}  // namespace

void FakeMediaFramework::PlayToEnd(FakeGraphState& graph) {
  if (graph.following.empty()) {
    graph.position = graph.duration;
    Queue(graph, [](seam::GraphEvents& e) { e.StreamEnded(); });
    return;
  }
  graph.path = std::exchange(graph.following, {});
  graph.duration = files.at(graph.path).duration;
  graph.position = 0;
  const seam::FollowTag tag = std::exchange(graph.followTag, 0);
  Queue(graph, [tag](seam::GraphEvents& e) { e.FollowerStarted(tag); });
}

void FakeMediaFramework::LoseOutput(FakeGraphState& graph) {
  graph.outputLost = true;
  Queue(graph, [](seam::GraphEvents& e) { e.OutputLost(); });
}

void FakeMediaFramework::Queue(FakeGraphState& graph, std::function<void(seam::GraphEvents&)> event) {
  for (const auto& g : graphs) {
    if (g.get() == &graph) queued.emplace_back(g, std::move(event));
  }
}

void FakeMediaFramework::Deliver() {
  while (!queued.empty()) {
    auto [graph, event] = std::move(queued.front());
    queued.pop_front();
    if (!graph->released && graph->events) event(*graph->events);
  }
}

std::unique_ptr<seam::MediaGraph> FakeMediaFramework::CreateGraph(seam::GraphEvents& events) {
  if (createFails) return nullptr;
  graphs.push_back(std::make_shared<FakeGraphState>());
  graphs.back()->events = &events;
  return std::make_unique<FakeGraph>(*this, graphs.back());
}

void RecordingTextRenderer::DrawText(Image& target, int x, int y, std::string_view utf8, Rgb color) {
  drawn.push_back({&target, x, y, std::string(utf8), color});
  if (x >= 0 && y >= 0 && x < target.width() && y < target.height()) target.SetPixel(x, y, color.Argb());
}

std::vector<DrawnText> RecordingTextRenderer::On(const Image& target) const {
  std::vector<DrawnText> out;
  for (const auto& d : drawn)
    if (d.target == &target) out.push_back(d);
  return out;
}

void FakeFormHost::Present(const Image& face, Rect dirty) {
  ++presents;
  lastDirty = dirty;
  presented = face;
}

FakeDesktop::FakeDesktop() {
  player.name = "player";
  player.log = &log;
}

namespace {
// Hands out a host the desktop can still see while the core owns it.
class TrackedHost : public FakeFormHost {
 public:
  explicit TrackedHost(FakeDesktop& d) : desktop_(d) {}
  ~TrackedHost() override {
    if (desktop_.playlist == this) desktop_.playlist = nullptr;
    desktop_.log.push_back("playlist:destroy");
  }

 private:
  FakeDesktop& desktop_;
};
}  // namespace

std::unique_ptr<seam::FormHost> FakeDesktop::CreatePlaylistHost() {
  auto host = std::make_unique<TrackedHost>(*this);
  host->name = "playlist";
  host->log = &log;
  host->size = {201, 203};
  playlist = host.get();
  ++playlistHostsCreated;
  log.push_back("playlist:create");
  return host;
}

std::vector<std::string> FakeDesktop::ShowOpen(const seam::FileDialogRequest& r) {
  openRequests.push_back(r);
  log.push_back("dialog:open");
  if (openAnswers.empty()) return {};
  auto a = openAnswers.front();
  openAnswers.pop_front();
  return a;
}

std::optional<std::string> FakeDesktop::ShowSave(const seam::FileDialogRequest& r) {
  saveRequests.push_back(r);
  log.push_back("dialog:save");
  if (saveAnswers.empty()) return std::nullopt;
  auto a = saveAnswers.front();
  saveAnswers.pop_front();
  return a;
}

std::uint32_t CoordinatePixel(int imageId, int x, int y) {
  return 0xFF000000u | (std::uint32_t(imageId) << 20) | (std::uint32_t(x) << 10) | std::uint32_t(y);
}

namespace {
Image CoordinateImage(int id, int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.SetPixel(x, y, CoordinatePixel(id, x, y));
  return img;
}
}  // namespace

SkinImages CoordinateSkin() {
  using namespace skin;
  return {CoordinateImage(kFaceId, kFaceBackgroundWidth, kFaceBackgroundHeight),
          CoordinateImage(kPlaylistId, kListBackgroundWidth, kListBackgroundHeight),
          CoordinateImage(kButtonsId, kButtonSheetWidth, kButtonSheetHeight),
          CoordinateImage(kPartsId, kPartsSheetWidth, kPartsSheetHeight), Image(kIconSize, kIconSize)};
}

}  // namespace kestrafon::fakes
