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
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "seam/media.h"

namespace kestrafon::platform::gst {

// Linear gain for a volume in hundredths of a decibel: 10^(v/2000), with
// -10000 (and below) silent and anything above 0 at full gain.
double GainFromHundredthsDb(long hundredthsDb);

// Posted by a branch's decoder when its file held no audio.
extern const char* const kNoAudioMessage;

// Adds every element to the bin, or drops them all when one is null.
bool AddAll(GstElement* bin, std::initializer_list<GstElement*> elements);

enum class AudioOutput {
  kDevice,         // the audio device; when none opens, no graph renders (OutputFault::NoDevice)
                   // (or a file, see GstMediaFramework)
  kSilent,         // a silent sink on the clock: plays in real time, makes no sound
  kSilentUnpaced,  // a silent sink that takes data as fast as it is decoded
};

// What the graphs of one framework share: the sink chosen once, and the last
// volume put on any graph, at which new graphs preroll.
struct GstMediaShared {
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
  double gain = 1.0;
};

// One file's decoding part of a pipeline: a bin from the file to raw audio,
// ending in a queue whose output feeds its own input of the concat element.
// The queue lets a followed file open and decode its first frame while it
// waits its turn (concat holds a branch at its first event until then).
struct GstBranch {
  GstElement* bin = nullptr;    // owned by the pipeline
  GstElement* queue = nullptr;  // owned by the bin
  GstPad* output = nullptr;     // the bin's ghost pad, owned by the bin
  GstPad* input = nullptr;      // our reference to the concat input it feeds
  double duration = 0.0;
  bool failed = false;          // an error, or no audio, came from inside
  // Written by the branch's streaming threads.
  std::atomic<bool> audioLinked{false};
  std::atomic<int> capsSeen{0};
  std::atomic<bool> mpegAudioFile{false};
  std::atomic<bool> decoding{false};  // the decoder announced its audio format
};

class GstMediaFramework final : public MediaFramework {
 public:
  // With kDevice, KESTRAFON_AUDIO_SINK=fake in the environment selects the
  // silent sink on the clock (for tests), KESTRAFON_AUDIO_SINK=file:PATH
  // appends what is played to PATH as raw 16-bit 44.1 kHz stereo on the
  // clock (for exact sample counts), and any other value names the sink
  // element to use; without it the desktop's default sink is used.
  explicit GstMediaFramework(AudioOutput output = AudioOutput::kDevice);
  std::unique_ptr<MediaGraph> CreateGraph() override;
  // The sink element factory the graphs use, e.g. "pulsesink" or "fakesink".
  const std::string& SinkFactory() const { return shared_->sinkFactory; }

 private:
  std::shared_ptr<GstMediaShared> shared_;
};

class GstMediaGraph final : public MediaGraph {
 public:
  explicit GstMediaGraph(std::shared_ptr<GstMediaShared> shared);
  ~GstMediaGraph() override;
  GstMediaGraph(const GstMediaGraph&) = delete;
  GstMediaGraph& operator=(const GstMediaGraph&) = delete;

  bool RenderFile(const std::string& path) override;
  bool Run() override;
  bool Pause() override;
  bool Stop() override;
  bool Duration(double& seconds) override;
  bool CurrentPosition(double& seconds) override;
  bool PutCurrentPosition(double seconds) override;
  bool PutVolume(long hundredthsDb) override;
  OutputFault Fault() override;
  bool Follow(const std::string& path) override;
  bool MovedOn() override;

  // The output element; null before a file was rendered.
  GstElement* Sink() const { return sink_; }
  // The gain on the volume element; empty before a file was rendered.
  std::optional<double> Gain() const;
  // The factory names of the pipeline's elements, those inside the branches
  // and decodebin included, in no particular order; empty before a file was
  // rendered.
  std::vector<std::string> ElementFactories() const;

 private:
  // Builds the pipeline with the branch for `path` and prerolls it: the
  // fixed MP3 chain when the file starts like one, decodebin otherwise or
  // when that fails.
  bool Preroll(const std::string& path);
  // A new pipeline holding concat and the output end; false (pipeline left
  // for TearDown) when an element is missing.
  bool BuildOutput();
  // Adds a branch for `path` to the pipeline, feeding a new concat input:
  // the fixed MP3 chain or decodebin. Null when an element is missing.
  std::unique_ptr<GstBranch> AddBranch(const std::string& path, bool mp3, bool tagged);
  bool BuildMp3Chain(GstBranch& branch, const std::string& path, bool tagged);
  bool BuildDecodingChain(GstBranch& branch, const std::string& path);
  // Takes a branch out of the pipeline and frees it.
  void DropBranch(std::unique_ptr<GstBranch>& branch);
  bool WaitForPreroll();
  // Readies a branch for `path` behind the current one; null when the file
  // will not play.
  std::unique_ptr<GstBranch> ReadyBranch(const std::string& path);
  // Waits until the branch has decoded its first frame, or fails.
  bool WaitUntilDecoding(GstBranch& branch);
  // The concat input that plays now; null when none does.
  GstPad* ActiveInput() const;
  double MeasureDuration(GstBranch& branch, int fd);  // the branch's file, open for reading
  // The followed branch has reached the sink: it becomes the current one.
  void TakeOver();
  void TearDown();
  void PollBus();

  static void OnPadAdded(GstElement* decoder, GstPad* pad, gpointer branch);
  static void OnNoMorePads(GstElement* decoder, gpointer branch);
  static gboolean OnAutoplugContinue(GstElement* decoder, GstPad* pad, GstCaps* caps, gpointer branch);

  std::shared_ptr<GstMediaShared> shared_;
  GstElement* pipeline_ = nullptr;
  GstElement* concat_ = nullptr;   // owned by the pipeline
  GstElement* volume_ = nullptr;   // owned by the pipeline
  GstElement* sink_ = nullptr;     // owned by the pipeline
  std::unique_ptr<GstBranch> current_;
  std::unique_ptr<GstBranch> next_;  // readied by Follow; plays when current_ ends
  GstBranch* readying_ = nullptr;    // the branch ReadyBranch waits for
  bool takeOverDue_ = false;  // the upcoming branch's stream reached the sink

  bool rendered_ = false;
  double duration_ = 0.0;
  bool ended_ = false;  // end of stream seen since the last seek
  bool movedOn_ = false;  // next_ took over, not yet reported by MovedOn
  OutputFault fault_ = OutputFault::None;
  double lastPosition_ = 0.0;
};

}  // namespace kestrafon::platform::gst
