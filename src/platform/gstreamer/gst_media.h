#pragma once
// The media seam on GStreamer: one pipeline per graph, prerolled to PAUSED
// by RenderFile. An MP3 file plays through a fixed chain,
//   filesrc ! [id3demux !] mpegaudioparse ! mpg123audiodec ! OUT
// and anything else (or an MP3 that chain cannot preroll) through
//   filesrc ! decodebin ! OUT
// where OUT is audioconvert ! audioresample ! volume ! sink.
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

enum class AudioOutput {
  kDevice,         // the audio device; when none opens, no graph renders (OutputFault::NoDevice)
  kSilent,         // a silent sink on the clock: plays in real time, makes no sound
  kSilentUnpaced,  // a silent sink that takes data as fast as it is decoded
};

// What the graphs of one framework share: the sink chosen once, and the last
// volume put on any graph, at which new graphs preroll.
struct GstMediaShared {
  bool initialised = false;
  std::string sinkFactory;
  bool silent = false;    // sinkFactory is the fake sink
  bool noDevice = false;  // a device was wanted and none opened
  bool paced = true;    // the sink renders on the clock
  double gain = 1.0;
};

class GstMediaFramework final : public MediaFramework {
 public:
  // With kDevice, KESTRAFON_AUDIO_SINK=fake in the environment selects the
  // silent sink on the clock (for tests), and any other value names the sink
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

  // The output element; null before a file was rendered.
  GstElement* Sink() const { return sink_; }
  // The gain on the volume element; empty before a file was rendered.
  std::optional<double> Gain() const;
  // The factory names of the pipeline's own elements (not those inside
  // decodebin), in no particular order; empty before a file was rendered.
  std::vector<std::string> ElementFactories() const;

 private:
  // Builds and prerolls the chain for `path`: the fixed MP3 chain when the
  // file starts like one, decodebin otherwise or when that fails.
  bool Preroll(const std::string& path, int fd);  // fd: the same file, open for reading
  bool BuildMp3Chain(const std::string& path, bool tagged);
  bool BuildDecodingChain(const std::string& path);
  // A new pipeline holding the output end; false (pipeline left for
  // TearDown) when an element is missing.
  bool BuildOutput();
  // Adds every element to the pipeline, or drops them all when one is null.
  bool AddAll(std::initializer_list<GstElement*> elements);
  bool WaitForPreroll();
  double MeasureDuration(int fd);  // the rendered file, open for reading
  void TearDown();
  void PollBus();

  static void OnPadAdded(GstElement* decoder, GstPad* pad, gpointer self);
  static void OnNoMorePads(GstElement* decoder, gpointer self);
  static gboolean OnAutoplugContinue(GstElement* decoder, GstPad* pad, GstCaps* caps, gpointer self);

  std::shared_ptr<GstMediaShared> shared_;
  GstElement* pipeline_ = nullptr;
  GstElement* convert_ = nullptr;  // owned by the pipeline
  GstElement* volume_ = nullptr;   // owned by the pipeline
  GstElement* sink_ = nullptr;     // owned by the pipeline
  // Written by decodebin's streaming threads while prerolling.
  std::atomic<bool> audioLinked_{false};
  std::atomic<int> capsSeen_{0};
  std::atomic<bool> mpegAudioFile_{false};

  bool rendered_ = false;
  double duration_ = 0.0;
  bool ended_ = false;  // end of stream seen since the last seek
  OutputFault fault_ = OutputFault::None;
  double lastPosition_ = 0.0;
};

}  // namespace kestrafon::platform::gst
