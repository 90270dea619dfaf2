#pragma once
// The media seam on GStreamer: one pipeline per graph, prerolled to PAUSED
// by RenderFile. Each file is decoded by its own branch, and the branches
// play one after another through a concat element into one output, so a
// followed file joins the current one sample for sample:
//   BRANCH ! concat ! audioconvert ! audioresample ! volume ! sink
// An MP3 file's branch is the fixed chain
//   filesrc ! [id3demux !] mpegaudioparse ! mpg123audiodec
// and anything else's (or an MP3 that chain cannot decode)
//   filesrc ! decodebin
#include <gst/gst.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/gstreamer/gst_file_probe.h"
#include "seam/media.h"

namespace kestrafon::platform::gst {

// Linear gain for a volume in hundredths of a decibel: 10^(v/2000), with
// -10000 (and below) silent and anything above 0 at full gain.
double GainFromHundredthsDb(long hundredthsDb);

// Posted by a branch's decoder when its file held no audio.
extern const char* const kNoAudioMessage;
// Posted by a follower's branch when its decoder announced its format.
extern const char* const kDecodingMessage;
// Posted by a follower's own thread with what it found in the file.
extern const char* const kProbedMessage;

// Adds every element to the bin, or drops them all when one is null.
bool AddAll(GstElement* bin, std::initializer_list<GstElement*> elements);

enum class AudioOutput {
  kDevice,         // the audio device; when none opens, no graph renders (OutputFault::NoDevice)
                   // (or a file, see GstMediaFramework)
  kSilent,         // a silent sink on the clock: plays in real time, makes no sound
  kSilentUnpaced,  // a silent sink that takes data as fast as it is decoded
};

struct GstBranch;

// What the graphs of one framework share: the sink chosen once, and the last
// volume put on any graph, at which new graphs preroll.
struct GstMediaShared : std::enable_shared_from_this<GstMediaShared> {
  GstMediaShared() = default;
  ~GstMediaShared();
  GstMediaShared(const GstMediaShared&) = delete;
  GstMediaShared& operator=(const GstMediaShared&) = delete;

  bool initialised = false;
  std::string sinkFactory;
  bool silent = false;    // sinkFactory is the fake sink
  bool noDevice = false;  // a device was wanted and none opened
  bool paced = true;    // the sink renders on the clock
  int outputFd = -1;    // for a file output: the file, open for appending
  std::atomic<double> gain{1.0};  // read by graphs that open on their own thread
  seam::ReadTrack readTrack;       // set once, before any graph
  // A file's loudness and text (gain 1 and no text when none is read).
  seam::TrackFacts FactsOf(const std::string& path) const { return readTrack ? readTrack(path) : seam::TrackFacts{}; }

  // Pipelines stop on threads of their own (a slow file holds them); the
  // framework waits for them before it goes.
  void StopElsewhere(GstElement* pipeline, std::unique_ptr<GstBranch> current);
  void WaitForStops();
  std::mutex stopping;
  std::condition_variable stopped;
  int stops = 0;
};

// One file's decoding part of a pipeline: a bin from the file to raw audio,
// ending in a queue whose output feeds its own input of the concat element.
// A followed file's branch is built and started off the window's thread,
// locked out of the pipeline's state changes, with its output held at the
// first buffer; it joins concat only once it decodes, and concat then holds
// it until the current stream ends.
struct GstBranch {
  GstElement* bin = nullptr;    // owned by the pipeline
  GstElement* queue = nullptr;  // owned by the bin
  GstElement* entry = nullptr;  // where decoded audio goes in: the queue, or the loudness before it
  GstPad* output = nullptr;     // the bin's ghost pad, owned by the bin
  GstPad* input = nullptr;      // our reference to the concat input it feeds; null until it joins
  gulong hold = 0;              // the probe that holds the output until it joins
  std::string path;
  seam::TrackText text;         // what the file's tags say
  bool mp3Chain = false;        // the fixed MP3 chain rather than decodebin
  double frameSeconds = 0.0;    // the file's length by its frames
  double duration = 0.0;
  // Set once the branch is dropped; read by a start still on its way.
  std::shared_ptr<std::atomic<bool>> dropped = std::make_shared<std::atomic<bool>>(false);
  // Written by the branch's streaming threads.
  std::atomic<bool> audioLinked{false};
  std::atomic<int> capsSeen{0};
  std::atomic<bool> mpegAudioFile{false};
  std::atomic<bool> decoding{false};  // the decoder announced its audio format
};

// A branch's length by its MPEG audio frames; 0 when not known that way.
double FrameSeconds(const GstBranch& branch);
// The length the branch's decoder answers with; 0 when it cannot tell. May
// read the file: never on the window's thread.
double QueriedSeconds(GstElement* bin);

class GstMediaFramework final : public seam::MediaFramework {
 public:
  // With kDevice, KESTRAFON_AUDIO_SINK=fake in the environment selects the
  // silent sink on the clock (for tests), KESTRAFON_AUDIO_SINK=file:PATH
  // appends what is played to PATH as raw 16-bit 44.1 kHz stereo on the
  // clock (for exact sample counts), and any other value names the sink
  // element to use; without it the desktop's default sink is used.
  explicit GstMediaFramework(AudioOutput output = AudioOutput::kDevice, seam::ReadTrack readTrack = {});
  ~GstMediaFramework() override;
  GstMediaFramework(const GstMediaFramework&) = delete;
  GstMediaFramework& operator=(const GstMediaFramework&) = delete;
  std::unique_ptr<seam::MediaGraph> CreateGraph(seam::GraphEvents& events) override;
  // The sink element factory the graphs use, e.g. "pulsesink" or "fakesink".
  const std::string& SinkFactory() const { return shared_->sinkFactory; }

 private:
  std::shared_ptr<GstMediaShared> shared_;
};

// One graph: a pipeline for the current file and the one readied to follow
// it. What happens in the pipeline reaches the window's thread through a bus
// watch on the default main context (Qt's event loop on Linux is GLib's),
// and the graph's owner hears of it from an idle callback there, never from
// inside a call.
class GstMediaGraph final : public seam::MediaGraph {
 public:
  GstMediaGraph(std::shared_ptr<GstMediaShared> shared, seam::GraphEvents& events);
  ~GstMediaGraph() override;
  GstMediaGraph(const GstMediaGraph&) = delete;
  GstMediaGraph& operator=(const GstMediaGraph&) = delete;

  bool RenderFile(const std::string& path) override;
  void OpenFile(const std::string& path) override;
  bool Run() override;
  bool Pause() override;
  bool Stop() override;
  bool Duration(double& seconds) override;
  bool CurrentPosition(double& seconds) override;
  bool PutCurrentPosition(double seconds) override;
  bool PutVolume(long hundredthsDb) override;
  seam::OutputFault Fault() override { return fault_; }
  seam::TrackText PlayingText() const override { return current_ ? current_->text : seam::TrackText{}; }
  void Follow(const std::string& path, seam::FollowTag tag) override;

  // The output element; null before a file was rendered.
  GstElement* Sink() const { return sink_; }
  // The gain on the volume element; empty before a file was rendered.
  std::optional<double> Gain() const;
  // The factory names of the pipeline's elements, those inside the branches
  // and decodebin included, in no particular order; empty before a file was
  // rendered.
  std::vector<std::string> ElementFactories() const;

 private:
  // --- the current file (gst_graph.cpp, gst_open.cpp, gst_branch.cpp)
  // RenderFile's work without the watch: what a graph opening on its own
  // thread does.
  bool Prepare(const std::string& path);
  // Starts hearing the pipeline on the window's thread.
  void Watch();
  // Takes over what a graph prepared on another thread built, and reports.
  void Adopt(GstMediaGraph& built, bool ok);
  // Builds the pipeline with the branch for `path` and prerolls it: the
  // fixed MP3 chain when the file starts like one, decodebin otherwise or
  // when that fails.
  bool Preroll(const std::string& path);
  // A new pipeline holding concat and the output end; false (pipeline left
  // for TearDown) when an element is missing.
  bool BuildOutput();
  // A branch for `path` in the pipeline: the fixed MP3 chain or decodebin.
  // A follower's is locked, held at its output, and not yet joined to
  // concat. Null when an element is missing.
  std::unique_ptr<GstBranch> AddBranch(const std::string& path, bool mp3, bool tagged, bool follower,
                                       const seam::TrackFacts& facts);
  bool BuildMp3Chain(GstBranch& branch, const std::string& path, bool tagged);
  bool BuildDecodingChain(GstBranch& branch, const std::string& path);
  // Links the branch's output to a new concat input; false when it cannot.
  bool JoinConcat(GstBranch& branch);
  // Takes a branch out of the pipeline and has it stopped and freed on
  // another thread: a branch reading a slow file may take long to stop.
  void DropBranch(std::unique_ptr<GstBranch>& branch);
  bool WaitForPreroll();
  // The concat input that plays now; null when none does.
  GstPad* ActiveInput() const;
  void TearDown();

  // --- what the pipeline says (gst_bus.cpp)
  static gboolean OnBusMessage(GstBus* bus, GstMessage* message, gpointer graph);
  void Handle(GstMessage* message, bool beforeSeek);
  // Tells the owner from the event loop, never from inside a call.
  void Report(std::function<void(seam::GraphEvents&)> report);
  static gboolean DeliverReports(gpointer graph);

  // --- the follower (gst_follow.cpp)
  // The probe of a followed file arrived from its thread: build its branch.
  void FollowerProbed(const GstStructure* result);
  // Builds the follower's branch (the fixed MP3 chain or decodebin) and has
  // it started; false when an element is missing.
  bool StartFollowerBranch(bool mp3);
  // The follower's decoder runs: learn its length, then let it join.
  void FollowerDecoding();
  void FollowerMeasured(double seconds);
  void FollowerReady();
  // The follower (readying or readied) will not play: dropped and reported.
  void FollowerBroke();
  // Drops the follower, readying or readied, and forgets what was asked.
  void DropFollower();
  // The followed branch has reached the sink: it becomes the current one.
  void TakeOver();

  static void OnPadAdded(GstElement* decoder, GstPad* pad, gpointer branch);
  static void OnNoMorePads(GstElement* decoder, gpointer branch);
  static gboolean OnAutoplugContinue(GstElement* decoder, GstPad* pad, GstCaps* caps, gpointer branch);

  std::shared_ptr<GstMediaShared> shared_;
  seam::GraphEvents& events_;
  GstElement* pipeline_ = nullptr;
  GstElement* concat_ = nullptr;   // owned by the pipeline
  GstElement* volume_ = nullptr;   // owned by the pipeline
  GstElement* sink_ = nullptr;     // owned by the pipeline
  guint busWatch_ = 0;
  std::unique_ptr<GstBranch> current_;

  // The follower: asked for, probed on its own thread, then a branch that
  // readies (pending_), then one that waits its turn in concat (next_).
  std::uint64_t followRequest_ = 0;  // the latest request; older answers are dropped
  seam::FollowTag followTag_ = 0;    // what the latest request is called; 0 for none
  std::string followPath_;
  FileProbe followProbe_;
  std::unique_ptr<GstBranch> pending_;
  std::unique_ptr<GstBranch> next_;
  // Set by the streaming threads (see Watch).
  struct StreamMarks {
    // Concat let the end of the whole stream through: a follower that
    // joins after that never plays.
    std::atomic<bool> drained{false};
    std::atomic<bool> awaitingSegment{false};
  };
  std::shared_ptr<StreamMarks> marks_ = std::make_shared<StreamMarks>();

  std::deque<std::function<void(seam::GraphEvents&)>> reports_;
  guint reportSource_ = 0;
  std::shared_ptr<char> alive_ = std::make_shared<char>();  // gone with the graph

  bool rendered_ = false;
  bool opening_ = false;  // OpenFile's thread is still at work
  double duration_ = 0.0;
  bool ended_ = false;  // end of stream seen since the last seek
  seam::OutputFault fault_ = seam::OutputFault::None;
  double lastPosition_ = 0.0;
};

}  // namespace kestrafon::platform::gst
