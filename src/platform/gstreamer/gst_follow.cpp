// Following one file with the next. Nothing here waits: the file is looked
// at on a thread of its own, its branch is started by GStreamer's own
// threads, and each step reports back through the bus. The branch joins
// concat once it decodes, and concat starts it at the exact end of the
// current stream. The owner hears of it when the new stream reaches the sink.
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "platform/gstreamer/gst_media.h"

namespace kestrafon::platform::gst {

extern const char* const kProbedMessage = "kestrafon-follower-probed";

namespace {

// Starts a follower's branch; runs on a GStreamer thread, since opening its
// file can take long. A branch dropped before its turn stays stopped.
void StartBranch(GstElement* bin, gpointer dropped) {
  GST_STATE_LOCK(bin);
  if (!static_cast<std::shared_ptr<std::atomic<bool>>*>(dropped)->get()->load()) {
    gst_element_set_state(bin, GST_STATE_PAUSED);
  }
  GST_STATE_UNLOCK(bin);
}

void Start(GstBranch& branch) {
  gst_element_call_async(branch.bin, &StartBranch, new std::shared_ptr<std::atomic<bool>>(branch.dropped),
                         [](gpointer held) { delete static_cast<std::shared_ptr<std::atomic<bool>>*>(held); });
}

// Asks a follower's branch for its length; runs on a GStreamer thread, since
// the answer may read the file.
void MeasureBranch(GstElement* bin, gpointer) {
  GstStructure* s = gst_structure_new(kDecodingMessage, "measured", G_TYPE_DOUBLE, QueriedSeconds(bin), nullptr);
  gst_element_post_message(bin, gst_message_new_application(GST_OBJECT(bin), s));
}

}  // namespace

GstPad* GstMediaGraph::ActiveInput() const {
  GstPad* active = nullptr;
  g_object_get(concat_, "active-pad", &active, nullptr);
  if (active) gst_object_unref(active);  // only compared, never used
  return active;
}

void GstMediaGraph::Follow(const std::string& path, seam::FollowTag tag) {
  if (!rendered_) return;
  // A followed file that already plays stays; its take-over is on its way.
  if (next_ && ActiveInput() == next_->input) return;
  DropFollower();
  if (path.empty()) return;
  followTag_ = tag;
  followPath_ = path;
  if (ended_) {  // nothing can join a stream that has ended
    FollowerBroke();
    return;
  }
  // The file is looked at on a thread of its own. Its answer comes back
  // over the bus, which outlives the pipeline; a graph gone by then, or a
  // request overtaken by a newer one, never reads it.
  GstBus* bus = gst_element_get_bus(pipeline_);
  std::thread([bus, path, request = followRequest_, shared = shared_] {
    FileProbe probe = ProbeFile(path, true);
    if (probe.opened) probe.facts = shared->FactsOf(path);
    const seam::TrackText& text = probe.facts.text;
    GstStructure* s = gst_structure_new(
        kProbedMessage, "request", G_TYPE_UINT64, request, "opened", G_TYPE_BOOLEAN, probe.opened, "start",
        G_TYPE_INT, static_cast<int>(probe.start), "seconds", G_TYPE_DOUBLE, probe.frameSeconds, "gain",
        G_TYPE_DOUBLE, probe.facts.gain, "title", G_TYPE_STRING, text.title.c_str(), "artist", G_TYPE_STRING,
        text.artist.c_str(), "album", G_TYPE_STRING, text.album.c_str(), nullptr);
    gst_bus_post(bus, gst_message_new_application(nullptr, s));
    gst_object_unref(bus);
  }).detach();
}

void GstMediaGraph::FollowerProbed(const GstStructure* result) {
  guint64 request = 0;
  gboolean opened = FALSE;
  int start = 0;
  double seconds = 0;
  double gain = 1.0;
  gst_structure_get(result, "request", G_TYPE_UINT64, &request, "opened", G_TYPE_BOOLEAN, &opened, "start",
                    G_TYPE_INT, &start, "seconds", G_TYPE_DOUBLE, &seconds, "gain", G_TYPE_DOUBLE, &gain, nullptr);
  if (request != followRequest_ || followTag_ == 0 || pending_ || next_) return;
  if (!opened) return FollowerBroke();
  const auto text = [result](const char* field) {
    const gchar* value = gst_structure_get_string(result, field);
    return std::string(value ? value : "");
  };
  followProbe_ = {true, static_cast<Mp3Start>(start), seconds, {gain, {text("title"), text("artist"), text("album")}}};
  if (!StartFollowerBranch(followProbe_.start != Mp3Start::kNotMp3)) FollowerBroke();
}

bool GstMediaGraph::StartFollowerBranch(bool mp3) {
  pending_ = AddBranch(followPath_, mp3, followProbe_.start == Mp3Start::kTagged, true, followProbe_.facts);
  if (!pending_) return false;
  pending_->frameSeconds = followProbe_.frameSeconds;
  Start(*pending_);
  return true;
}

void GstMediaGraph::FollowerDecoding() {
  if (!pending_->audioLinked.load()) return FollowerBroke();
  const double frames = FrameSeconds(*pending_);
  if (frames > 0.0) return FollowerMeasured(frames);
  gst_element_call_async(pending_->bin, &MeasureBranch, nullptr, nullptr);
}

void GstMediaGraph::FollowerMeasured(double seconds) {
  if (!(seconds > 0.0)) return FollowerBroke();
  pending_->duration = seconds;
  FollowerReady();
}

void GstMediaGraph::FollowerReady() {
  // Once the whole stream has gone through concat, a branch joining it would
  // never play: the end is reported, and the owner starts the file itself.
  if (marks_->drained.load() || ended_ || !JoinConcat(*pending_)) return FollowerBroke();
  next_ = std::move(pending_);
}

void GstMediaGraph::FollowerBroke() {
  const seam::FollowTag tag = followTag_;
  // An MP3 the fixed chain could not decode gets decodebin's try.
  if (pending_ && pending_->mp3Chain && !ended_ && !marks_->drained.load()) {
    DropBranch(pending_);
    if (StartFollowerBranch(false)) return;
  }
  DropFollower();
  if (tag != 0) Report([tag](seam::GraphEvents& e) { e.FollowerFailed(tag); });
}

void GstMediaGraph::DropFollower() {
  ++followRequest_;
  followTag_ = 0;
  followPath_.clear();
  DropBranch(pending_);
  DropBranch(next_);
}

void GstMediaGraph::TakeOver() {
  const seam::FollowTag tag = followTag_;
  std::unique_ptr<GstBranch> finished = std::exchange(current_, std::move(next_));
  DropBranch(finished);  // its stream has ended; nothing waits on it
  // From now on the pipeline's state changes are this branch's too.
  gst_element_set_locked_state(current_->bin, FALSE);
  ++followRequest_;
  followTag_ = 0;
  followPath_.clear();
  duration_ = current_->duration;
  lastPosition_ = 0.0;
  ended_ = false;
  Report([tag](seam::GraphEvents& e) { e.FollowerStarted(tag); });
}

}  // namespace kestrafon::platform::gst
