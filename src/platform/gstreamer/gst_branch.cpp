// The branches of a pipeline: the part that decodes one file. MP3 files take
// a fixed chain: decodebin finds a file's type by trying the type finders of
// every installed plugin, which maps many of them into the process, while an
// MP3 needs only its parser and decoder (the same two decodebin would pick).
// The parser reads the LAME tag and the decoder cuts the encoder's delay and
// padding, so a file plays exactly the samples that were encoded.
#include <algorithm>
#include <memory>
#include <string>

#include "platform/gstreamer/gst_media.h"

namespace kestrafon::platform::gst {
namespace {

bool IsMpegAudio(const GstStructure* s) {
  int version = 0;
  return gst_structure_has_name(s, "audio/mpeg") && gst_structure_get_int(s, "mpegversion", &version) &&
         version == 1;
}

// The decoder has decoded its first frame when it announces its format.
// (Its next step, asking downstream about buffers, waits in the queue until
// the branch's turn comes.)
GstPadProbeReturn MarkDecoding(GstPad* pad, GstPadProbeInfo* info, gpointer data) {
  if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) != GST_EVENT_CAPS) return GST_PAD_PROBE_OK;
  static_cast<GstBranch*>(data)->decoding = true;
  GstElement* queue = gst_pad_get_parent_element(pad);
  if (queue) {
    gst_element_post_message(queue, gst_message_new_application(GST_OBJECT(queue),
                                                                gst_structure_new_empty(kDecodingMessage)));
    gst_object_unref(queue);
  }
  return GST_PAD_PROBE_REMOVE;
}

// Holds a follower's first buffer until the branch joins concat.
GstPadProbeReturn Hold(GstPad*, GstPadProbeInfo*, gpointer) { return GST_PAD_PROBE_OK; }

// Stops a dropped branch and frees it; runs on a GStreamer thread, since a
// branch reading a slow file takes as long to stop as its read takes.
void StopDroppedBranch(GstElement* bin, gpointer) {
  GST_STATE_LOCK(bin);
  gst_element_set_state(bin, GST_STATE_NULL);
  GST_STATE_UNLOCK(bin);
}

}  // namespace

extern const char* const kNoAudioMessage = "kestrafon-no-audio";
extern const char* const kDecodingMessage = "kestrafon-decoding";

double FrameSeconds(const GstBranch& branch) {
  // GStreamer only estimates the length of an MP3 without an Info header,
  // so MPEG audio files are measured by their frames.
  return branch.mpegAudioFile.load() ? branch.frameSeconds : 0.0;
}

double QueriedSeconds(GstElement* bin) {
  gint64 nanoseconds = 0;
  GstPad* output = gst_element_get_static_pad(bin, "src");
  const bool known = output && gst_pad_query_duration(output, GST_FORMAT_TIME, &nanoseconds) && nanoseconds > 0;
  if (output) gst_object_unref(output);
  return known ? static_cast<double>(nanoseconds) / GST_SECOND : 0.0;
}

bool AddAll(GstElement* bin, std::initializer_list<GstElement*> elements) {
  if (std::any_of(elements.begin(), elements.end(), [](GstElement* e) { return e == nullptr; })) {
    for (GstElement* e : elements) {
      if (e) gst_object_unref(gst_object_ref_sink(e));
    }
    return false;
  }
  for (GstElement* e : elements) gst_bin_add(GST_BIN(bin), e);
  return true;
}

bool GstMediaGraph::Preroll(const std::string& path) {
  // filesrc opens the path itself, and blocks on a named pipe: hand it
  // nothing but a regular file.
  const FileProbe probe = ProbeFile(path, true);
  if (!probe.opened) return false;
  const seam::TrackFacts facts = shared_->FactsOf(path);
  for (const bool mp3 : {true, false}) {
    if (mp3 && probe.start == Mp3Start::kNotMp3) continue;
    if (BuildOutput() && (current_ = AddBranch(path, mp3, probe.start == Mp3Start::kTagged, false, facts)) &&
        WaitForPreroll()) {
      current_->frameSeconds = probe.frameSeconds;
      const double frames = FrameSeconds(*current_);
      duration_ = current_->duration = frames > 0.0 ? frames : QueriedSeconds(current_->bin);
      return duration_ > 0.0;
    }
    TearDown();
  }
  return false;
}

std::unique_ptr<GstBranch> GstMediaGraph::AddBranch(const std::string& path, bool mp3, bool tagged, bool follower,
                                                    const seam::TrackFacts& facts) {
  auto branch = std::make_unique<GstBranch>();
  branch->path = path;
  branch->text = facts.text;
  const double gain = facts.gain;
  branch->mp3Chain = mp3;
  branch->bin = gst_bin_new(nullptr);
  // A follower starts on its own, and is locked out of the pipeline's state
  // changes until it takes over.
  if (follower) gst_element_set_locked_state(branch->bin, TRUE);
  gst_bin_add(GST_BIN(pipeline_), branch->bin);
  branch->queue = gst_element_factory_make("queue", nullptr);
  if (!AddAll(branch->bin, {branch->queue})) {
    DropBranch(branch);
    return nullptr;
  }
  GstPad* queued = gst_element_get_static_pad(branch->queue, "src");
  branch->output = gst_ghost_pad_new("src", queued);
  if (follower) {
    branch->hold = gst_pad_add_probe(
        queued, static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BLOCK | GST_PAD_PROBE_TYPE_BUFFER |
                                             GST_PAD_PROBE_TYPE_BUFFER_LIST),
        &Hold, nullptr, nullptr);
  }
  gst_object_unref(queued);
  gst_element_add_pad(branch->bin, branch->output);
  GstPad* decoded = gst_element_get_static_pad(branch->queue, "sink");
  gst_pad_add_probe(decoded, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &MarkDecoding, branch.get(), nullptr);
  gst_object_unref(decoded);
  // The file's own loudness, in the branch: it changes at the joint's sample.
  branch->entry = branch->queue;
  if (gain != 1.0) {
    branch->entry = gst_element_factory_make("volume", nullptr);
    if (!AddAll(branch->bin, {branch->entry}) || !gst_element_link(branch->entry, branch->queue)) {
      DropBranch(branch);
      return nullptr;
    }
    g_object_set(branch->entry, "volume", std::min(gain, 10.0), nullptr);
  }

  const bool built = mp3 ? BuildMp3Chain(*branch, path, tagged) : BuildDecodingChain(*branch, path);
  if (!built || (!follower && !JoinConcat(*branch))) {
    DropBranch(branch);
    return nullptr;
  }
  if (!follower) gst_element_sync_state_with_parent(branch->bin);
  return branch;
}

bool GstMediaGraph::JoinConcat(GstBranch& branch) {
  branch.input = gst_element_request_pad_simple(concat_, "sink_%u");
  if (!branch.input || gst_pad_link(branch.output, branch.input) != GST_PAD_LINK_OK) return false;
  if (branch.hold) {
    GstPad* queued = gst_element_get_static_pad(branch.queue, "src");
    gst_pad_remove_probe(queued, branch.hold);
    gst_object_unref(queued);
    branch.hold = 0;
  }
  return true;
}

void GstMediaGraph::DropBranch(std::unique_ptr<GstBranch>& branch) {
  if (!branch) return;
  // Releasing the concat input first wakes a branch waiting for its turn, so
  // that its streaming thread can stop.
  if (branch->input) {
    gst_element_release_request_pad(concat_, branch->input);
    gst_object_unref(branch->input);
    branch->input = nullptr;
  }
  // Out of the pipeline at once, stopped elsewhere, and freed only once its
  // threads (which still reach the branch) are done. Locked, so that a state
  // change still under way cannot start it again behind our back.
  GstElement* bin = GST_ELEMENT(gst_object_ref(branch->bin));
  gst_element_set_locked_state(bin, TRUE);
  branch->dropped->store(true);
  gst_bin_remove(GST_BIN(pipeline_), bin);
  gst_element_call_async(bin, &StopDroppedBranch, branch.release(),
                         [](gpointer data) { delete static_cast<GstBranch*>(data); });
  gst_object_unref(bin);
}

bool GstMediaGraph::BuildMp3Chain(GstBranch& branch, const std::string& path, bool tagged) {
  GstElement* source = gst_element_factory_make("filesrc", nullptr);
  GstElement* parser = gst_element_factory_make("mpegaudioparse", nullptr);
  GstElement* decoder = gst_element_factory_make("mpg123audiodec", nullptr);
  if (!AddAll(branch.bin, {source, parser, decoder})) return false;
  g_object_set(source, "location", path.c_str(), nullptr);
  branch.mpegAudioFile = true;
  branch.audioLinked = true;
  if (!gst_element_link_many(parser, decoder, branch.entry, nullptr)) return false;
  if (!tagged) return gst_element_link(source, parser);

  // Tags at either end come off as decodebin would take them off.
  GstElement* demuxer = gst_element_factory_make("id3demux", nullptr);
  if (!AddAll(branch.bin, {demuxer})) return false;
  return gst_element_link(source, demuxer) && gst_element_link(demuxer, parser);
}

bool GstMediaGraph::BuildDecodingChain(GstBranch& branch, const std::string& path) {
  GstElement* source = gst_element_factory_make("filesrc", nullptr);
  GstElement* decoder = gst_element_factory_make("decodebin", nullptr);
  if (!AddAll(branch.bin, {source, decoder})) return false;
  g_object_set(source, "location", path.c_str(), nullptr);

  g_signal_connect(decoder, "autoplug-continue", G_CALLBACK(&GstMediaGraph::OnAutoplugContinue), &branch);
  g_signal_connect(decoder, "pad-added", G_CALLBACK(&GstMediaGraph::OnPadAdded), &branch);
  g_signal_connect(decoder, "no-more-pads", G_CALLBACK(&GstMediaGraph::OnNoMorePads), &branch);
  return gst_element_link(source, decoder);
}

gboolean GstMediaGraph::OnAutoplugContinue(GstElement*, GstPad*, GstCaps* caps, gpointer data) {
  auto* branch = static_cast<GstBranch*>(data);
  if (gst_caps_get_size(caps) == 0) return TRUE;
  const GstStructure* s = gst_caps_get_structure(caps, 0);
  // The first caps are the type of the whole file: MPEG audio, possibly
  // behind ID3v2 or APE tags.
  if (branch->capsSeen.fetch_add(1) == 0) {
    branch->mpegAudioFile = IsMpegAudio(s) || gst_structure_has_name(s, "application/x-id3") ||
                            gst_structure_has_name(s, "application/x-apetag");
  } else if (gst_structure_has_name(s, "audio/mpeg") && !IsMpegAudio(s)) {
    branch->mpegAudioFile = false;  // AAC behind an ID3 tag
  }
  return TRUE;
}

void GstMediaGraph::OnPadAdded(GstElement*, GstPad* pad, gpointer data) {
  auto* branch = static_cast<GstBranch*>(data);
  GstCaps* caps = gst_pad_get_current_caps(pad);
  if (!caps) caps = gst_pad_query_caps(pad, nullptr);
  const bool audio = caps && gst_caps_get_size(caps) > 0 &&
                     g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "audio/x-raw");
  if (caps) gst_caps_unref(caps);
  if (!audio || branch->audioLinked.load()) return;
  // The branch's bin starts its elements from its output inwards, but
  // decodebin, with no output yet, may start before the queue; on a busy
  // machine its first data then meets a queue still stopped, which refuses
  // it, and the file never prerolls. So the way to the queue starts first.
  gst_element_sync_state_with_parent(branch->queue);
  if (branch->entry != branch->queue) gst_element_sync_state_with_parent(branch->entry);
  GstPad* queueInput = gst_element_get_static_pad(branch->entry, "sink");
  if (gst_pad_link(pad, queueInput) == GST_PAD_LINK_OK) branch->audioLinked = true;
  gst_object_unref(queueInput);
}

void GstMediaGraph::OnNoMorePads(GstElement* decoder, gpointer data) {
  auto* branch = static_cast<GstBranch*>(data);
  if (branch->audioLinked.load()) return;
  gst_element_post_message(decoder, gst_message_new_application(GST_OBJECT(decoder),
                                                                gst_structure_new_empty(kNoAudioMessage)));
}

std::vector<std::string> GstMediaGraph::ElementFactories() const {
  std::vector<std::string> names;
  if (!pipeline_) return names;
  GstIterator* it = gst_bin_iterate_recurse(GST_BIN(pipeline_));
  GValue item = G_VALUE_INIT;
  while (gst_iterator_next(it, &item) == GST_ITERATOR_OK) {
    // The branches' own bins come from no factory.
    if (GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&item)))) {
      names.emplace_back(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)));
    }
    g_value_reset(&item);
  }
  g_value_unset(&item);
  gst_iterator_free(it);
  return names;
}

}  // namespace kestrafon::platform::gst
