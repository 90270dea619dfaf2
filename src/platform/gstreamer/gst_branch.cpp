// The branches of a pipeline: the part that decodes one file. MP3 files take
// a fixed chain: decodebin finds a file's type by trying the type finders of
// every installed plugin, which maps many of them into the process, while an
// MP3 needs only its parser and decoder (the same two decodebin would pick).
// The parser reads the LAME tag and the decoder cuts the encoder's delay and
// padding, so a file plays exactly the samples that were encoded.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "platform/gstreamer/gst_media.h"
#include "platform/gstreamer/mp3_frame_scan.h"

namespace kestrafon::platform::gst {
namespace {

// How long a branch may take to start giving audio.
constexpr GstClockTime kReadyBound = 5 * GST_SECOND;

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

// The open file, closed when it goes out of scope.
struct OpenFile {
  explicit OpenFile(const std::string& path) : fd(OpenRegularFile(path)) {}
  ~OpenFile() {
    if (fd >= 0) ::close(fd);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  const int fd;
};

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

enum class Mp3Start { kNotMp3, kPlain, kTagged };

// What the first and last bytes of the open file say. An APE tag leaves the
// file to decodebin, which strips it.
Mp3Start SniffMp3(int fd) {
  struct stat info {};
  std::array<std::uint8_t, mp3::kMp3ProbeBytes> head{};
  if (fstat(fd, &info) != 0) return Mp3Start::kNotMp3;
  const ssize_t tagRead = pread(fd, head.data(), 10, 0);
  const std::size_t tag = tagRead == 10 ? mp3::Id3v2TagSize(std::span(head.data(), 10)) : 0;
  const ssize_t got = pread(fd, head.data(), head.size(), static_cast<off_t>(tag));
  std::array<char, 160> tail{};
  const off_t tailSize = static_cast<off_t>(tail.size());
  const off_t tailAt = info.st_size > tailSize ? info.st_size - tailSize : 0;
  const ssize_t tailRead = pread(fd, tail.data(), tail.size(), tailAt);
  const bool ape = tailRead >= 32 && (std::memcmp(tail.data() + tailRead - 32, "APETAGEX", 8) == 0 ||
                                      (tailRead >= 160 && std::memcmp(tail.data(), "APETAGEX", 8) == 0));
  const bool id3v1 = tailRead >= 128 && std::memcmp(tail.data() + tailRead - 128, "TAG", 3) == 0;
  if (got <= 0 || ape || !mp3::StartsWithMp3Frames(std::span(head.data(), static_cast<std::size_t>(got)))) {
    return Mp3Start::kNotMp3;
  }
  return tag > 0 || id3v1 ? Mp3Start::kTagged : Mp3Start::kPlain;
}

bool IsMpegAudio(const GstStructure* s) {
  int version = 0;
  return gst_structure_has_name(s, "audio/mpeg") && gst_structure_get_int(s, "mpegversion", &version) &&
         version == 1;
}

GstPadProbeReturn MarkDecoding(GstPad*, GstPadProbeInfo* info, gpointer branch) {
  if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) != GST_EVENT_CAPS) return GST_PAD_PROBE_OK;
  static_cast<GstBranch*>(branch)->decoding = true;
  return GST_PAD_PROBE_REMOVE;
}

}  // namespace

extern const char* const kNoAudioMessage = "kestrafon-no-audio";

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

// The decoder has decoded its first frame when it announces its format.
// (Its next step, asking downstream about buffers, waits in the queue until
// the branch's turn comes.)


bool GstMediaGraph::Preroll(const std::string& path) {
  // filesrc opens the path itself, and blocks on a named pipe: hand it
  // nothing but a regular file. The same open file is the one measured.
  const OpenFile file(path);
  if (file.fd < 0) return false;
  const Mp3Start start = SniffMp3(file.fd);
  for (const bool mp3 : {true, false}) {
    if (mp3 && start == Mp3Start::kNotMp3) continue;
    if (BuildOutput() && (current_ = AddBranch(path, mp3, start == Mp3Start::kTagged)) && WaitForPreroll()) {
      duration_ = current_->duration = MeasureDuration(*current_, file.fd);
      return duration_ > 0.0;
    }
    TearDown();
  }
  return false;
}

std::unique_ptr<GstBranch> GstMediaGraph::ReadyBranch(const std::string& path) {
  const OpenFile file(path);
  if (file.fd < 0) return nullptr;
  const Mp3Start start = SniffMp3(file.fd);
  for (const bool mp3 : {true, false}) {
    if (mp3 && start == Mp3Start::kNotMp3) continue;
    std::unique_ptr<GstBranch> branch = AddBranch(path, mp3, start == Mp3Start::kTagged);
    readying_ = branch.get();
    const bool ready = branch && WaitUntilDecoding(*branch) &&
                       (branch->duration = MeasureDuration(*branch, file.fd)) > 0.0;
    readying_ = nullptr;
    if (ready) return branch;
    DropBranch(branch);
  }
  return nullptr;
}

bool GstMediaGraph::WaitUntilDecoding(GstBranch& branch) {
  const gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(kReadyBound / GST_USECOND);
  while (!branch.decoding.load()) {
    PollBus();  // marks the branch failed on its errors, and keeps the current track's news
    if (branch.failed || g_get_monotonic_time() > deadline) return false;
    g_usleep(2000);
  }
  PollBus();
  return !branch.failed && branch.audioLinked.load();
}

std::unique_ptr<GstBranch> GstMediaGraph::AddBranch(const std::string& path, bool mp3, bool tagged) {
  auto branch = std::make_unique<GstBranch>();
  branch->bin = gst_bin_new(nullptr);
  gst_bin_add(GST_BIN(pipeline_), branch->bin);
  branch->queue = gst_element_factory_make("queue", nullptr);
  if (!AddAll(branch->bin, {branch->queue})) {
    DropBranch(branch);
    return nullptr;
  }
  GstPad* queued = gst_element_get_static_pad(branch->queue, "src");
  branch->output = gst_ghost_pad_new("src", queued);
  gst_object_unref(queued);
  gst_element_add_pad(branch->bin, branch->output);
  GstPad* decoded = gst_element_get_static_pad(branch->queue, "sink");
  gst_pad_add_probe(decoded, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &MarkDecoding, branch.get(), nullptr);
  gst_object_unref(decoded);

  branch->input = gst_element_request_pad_simple(concat_, "sink_%u");
  const bool built = mp3 ? BuildMp3Chain(*branch, path, tagged) : BuildDecodingChain(*branch, path);
  if (!built || !branch->input || gst_pad_link(branch->output, branch->input) != GST_PAD_LINK_OK) {
    DropBranch(branch);
    return nullptr;
  }
  gst_element_sync_state_with_parent(branch->bin);
  return branch;
}

void GstMediaGraph::DropBranch(std::unique_ptr<GstBranch>& branch) {
  if (!branch) return;
  // Releasing the concat input first wakes a branch waiting for its turn, so
  // that its streaming thread can stop.
  if (branch->input) {
    gst_element_release_request_pad(concat_, branch->input);
    gst_object_unref(branch->input);
  }
  // Locked, so that a state change of the pipeline still under way cannot
  // start it again behind our back.
  gst_element_set_locked_state(branch->bin, TRUE);
  gst_element_set_state(branch->bin, GST_STATE_NULL);
  gst_bin_remove(GST_BIN(pipeline_), branch->bin);
  branch.reset();
}

bool GstMediaGraph::BuildMp3Chain(GstBranch& branch, const std::string& path, bool tagged) {
  GstElement* source = gst_element_factory_make("filesrc", nullptr);
  GstElement* parser = gst_element_factory_make("mpegaudioparse", nullptr);
  GstElement* decoder = gst_element_factory_make("mpg123audiodec", nullptr);
  if (!AddAll(branch.bin, {source, parser, decoder})) return false;
  g_object_set(source, "location", path.c_str(), nullptr);
  branch.mpegAudioFile = true;
  branch.audioLinked = true;
  if (!gst_element_link_many(parser, decoder, branch.queue, nullptr)) return false;
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

double GstMediaGraph::MeasureDuration(GstBranch& branch, int fd) {
  // GStreamer only estimates the length of an MP3 without an Info header,
  // so MPEG audio files are measured by their frames.
  if (branch.mpegAudioFile.load()) {
    const double scanned = ScanFileSeconds(fd);
    if (scanned > 0.0) return scanned;
  }
  gint64 nanoseconds = 0;
  if (gst_pad_query_duration(branch.output, GST_FORMAT_TIME, &nanoseconds) && nanoseconds > 0) {
    return static_cast<double>(nanoseconds) / GST_SECOND;
  }
  return 0.0;
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
  GstPad* queueInput = gst_element_get_static_pad(branch->queue, "sink");
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
