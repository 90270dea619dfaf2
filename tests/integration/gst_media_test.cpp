// The GStreamer media graph on generated MP3 files, played into the silent
// sink on the clock (no sound is made).
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>

#include "audio/mp3_frame_scan.h"
#include "contracts/media_graph_contract.h"
#include "fixtures/mp3_fixtures.h"
#include "fixtures/scoped_env.h"
#include "platform/gstreamer/gst_media.h"

namespace {

using kestrafon::fixtures::MakeMp3;
using kestrafon::fakes::RecordedEvents;
using kestrafon::fixtures::TempDir;
using kestrafon::seam::MediaGraph;
using kestrafon::platform::gst::AudioOutput;
using kestrafon::platform::gst::GainFromHundredthsDb;
using kestrafon::platform::gst::GstMediaFramework;
using kestrafon::platform::gst::GstMediaGraph;
using Clock = std::chrono::steady_clock;

constexpr double kRate = 44100.0;
constexpr double kSample = 1.0 / kRate;
constexpr double kFrame = 1152.0 / kRate;  // MPEG-1 layer III at 44.1 kHz

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// An independent measure of a file's length: decodes it as fast as it goes
// and counts the samples that come out; -1 on failure.
double DecodedSeconds(const std::string& path) {
  gst_init(nullptr, nullptr);
  GstElement* pipeline = gst_parse_launch(
      "filesrc name=src ! decodebin ! audioconvert ! audioresample ! "
      "audio/x-raw,format=S16LE,channels=2,rate=44100 ! fakesink name=out sync=false",
      nullptr);
  if (!pipeline) return -1;
  GstElement* src = gst_bin_get_by_name(GST_BIN(pipeline), "src");
  GstElement* out = gst_bin_get_by_name(GST_BIN(pipeline), "out");
  g_object_set(src, "location", path.c_str(), nullptr);
  GstPad* pad = gst_element_get_static_pad(out, "sink");
  std::uint64_t bytes = 0;
  gst_pad_add_probe(
      pad, GST_PAD_PROBE_TYPE_BUFFER,
      [](GstPad*, GstPadProbeInfo* info, gpointer total) {
        *static_cast<std::uint64_t*>(total) += gst_buffer_get_size(GST_PAD_PROBE_INFO_BUFFER(info));
        return GST_PAD_PROBE_OK;
      },
      &bytes, nullptr);
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* end = gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND,
                                               static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  const bool ok = end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
  if (end) gst_message_unref(end);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(bus);
  gst_object_unref(pad);
  gst_object_unref(out);
  gst_object_unref(src);
  gst_object_unref(pipeline);
  return ok ? static_cast<double>(bytes / 4) / kRate : -1;
}

// Runs the default main context (where the graphs' bus watches and reports
// run, as on the window's thread) for `ms` milliseconds.
void RunEvents(int ms) {
  const auto until = Clock::now() + std::chrono::milliseconds(ms);
  do {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  } while (Clock::now() < until);
}

// Polls `done` every few milliseconds, events running, for at most `bound`.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(5)) {
  const auto deadline = Clock::now() + bound;
  while (Clock::now() < deadline) {
    if (done()) return true;
    RunEvents(5);
  }
  return done();
}

double Position(MediaGraph& graph) {
  double seconds = -1.0;
  EXPECT_TRUE(graph.CurrentPosition(seconds));
  return seconds;
}

double DurationOf(MediaGraph& graph) {
  double seconds = -1.0;
  EXPECT_TRUE(graph.Duration(seconds));
  return seconds;
}

class GstMediaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setenv("KESTRAFON_AUDIO_SINK", "fake", 1); }

  std::string Mp3(const std::string& name, double seconds, bool lameHeader = true) {
    const std::string path = dir_.File(name);
    EXPECT_TRUE(MakeMp3(path, seconds, 128, lameHeader)) << "sox or lame failed for " << path;
    return path;
  }

  // A graph with `path` rendered, or null (with a test failure).
  std::unique_ptr<MediaGraph> Open(const std::string& path) {
    auto graph = framework_.CreateGraph(events_);
    EXPECT_NE(graph, nullptr);
    if (!graph) return nullptr;
    EXPECT_TRUE(graph->RenderFile(path)) << path;
    return graph;
  }

  bool Renders(const std::string& path) {
    auto graph = framework_.CreateGraph(events_);
    return graph && graph->RenderFile(path);
  }

  TempDir dir_;
  RecordedEvents events_;
  GstMediaFramework framework_;
};

// The media-graph contract on GStreamer, into the silent sink on the clock.
struct GStreamer {
  GStreamer() { setenv("KESTRAFON_AUDIO_SINK", "fake", 1); }
  static std::unique_ptr<kestrafon::seam::MediaFramework> MakeFramework(kestrafon::seam::ReadTrack read = {}) {
    return std::make_unique<GstMediaFramework>(kestrafon::platform::gst::AudioOutput::kDevice, std::move(read));
  }
  static TempDir& Files() {
    static TempDir dir;
    return dir;
  }
  static std::string Tone(int seconds) {
    const std::string path = Files().File("tone" + std::to_string(seconds) + "s.mp3");
    if (!std::filesystem::exists(path)) {
      EXPECT_TRUE(MakeMp3(path, seconds)) << "sox or lame failed";
    }
    return path;
  }
  static std::string NotAudio() {
    const std::string path = Files().File("not_audio.mp3");
    const std::string words = "These are notes, not music.\nA second line of plain text.\n";
    WriteBytes(path, std::vector<std::uint8_t>(words.begin(), words.end()));
    return path;
  }
  static std::string Missing() { return Files().File("missing.mp3"); }
  static std::string Folder() {
    const std::string path = Files().File("folder.mp3");
    std::filesystem::create_directories(path);
    return path;
  }
  static std::string CopyAs(const std::string& from, const std::string& name) {
    const std::string to = Files().File(name);
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    return error ? std::string() : to;
  }
  static void Wait(int ms) { RunEvents(ms); }
};

using kestrafon::fixtures::ScopedEnv;

TEST(GstOutput, WithoutASoundDeviceNoGraphRendersAndEachSaysWhy) {
  ScopedEnv sink("KESTRAFON_AUDIO_SINK", "pulsesink");
  ScopedEnv server("PULSE_SERVER", "unix:/nonexistent/kestrafon-test");  // no sound server there
  GstMediaFramework framework;
  RecordedEvents events;
  auto graph = framework.CreateGraph(events);
  ASSERT_NE(graph, nullptr);
  EXPECT_FALSE(graph->RenderFile(GStreamer::Tone(1)));
  EXPECT_EQ(graph->Fault(), kestrafon::seam::OutputFault::NoDevice);
}

TEST_F(GstMediaTest, AnErrorOfTheSinkIsALostDeviceAndOtherErrorsEndTheTrack) {
  auto graph = Open(Mp3("tone.mp3", 4.0));
  ASSERT_NE(graph, nullptr);
  ASSERT_TRUE(graph->Run());
  EXPECT_EQ(graph->Fault(), kestrafon::seam::OutputFault::None);
  GstElement* sink = dynamic_cast<GstMediaGraph&>(*graph).Sink();
  GError* error = g_error_new_literal(GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_WRITE, "unplugged");
  gst_element_post_message(sink, gst_message_new_error(GST_OBJECT(sink), error, "a test"));
  g_error_free(error);
  EXPECT_TRUE(WaitFor([&] { return events_.Heard("lost"); }));
  EXPECT_EQ(graph->Fault(), kestrafon::seam::OutputFault::DeviceLost);
  EXPECT_LT(Position(*graph), DurationOf(*graph)) << "not taken for the end of the track";
}

TEST_F(GstMediaTest, SilentSinkIsChosenFromTheEnvironment) {
  EXPECT_EQ(framework_.SinkFactory(), "fakesink");
  EXPECT_EQ(GstMediaFramework(AudioOutput::kSilentUnpaced).SinkFactory(), "fakesink");
}

TEST_F(GstMediaTest, DurationOfLameFilesIsExact) {
  for (double seconds : {1.0, 2.5, 10.0}) {
    auto graph = Open(Mp3("tone.mp3", seconds));
    ASSERT_NE(graph, nullptr);
    EXPECT_NEAR(DurationOf(*graph), seconds, kSample / 2) << seconds << " s";
  }
}

TEST_F(GstMediaTest, DurationWithoutLameHeaderIsFrameAccurate) {
  for (double seconds : {1.0, 2.5}) {
    const std::string path = Mp3("bare.mp3", seconds, false);
    auto graph = Open(path);
    ASSERT_NE(graph, nullptr);
    const double duration = DurationOf(*graph);

    // A 128 kbit/s stream at 44.1 kHz holds 417.96 bytes per frame on average.
    const auto bytes = ReadBytes(path);
    const double frames = std::round(static_cast<double>(bytes.size()) * kRate / (144.0 * 128000.0));
    EXPECT_NEAR(duration, frames * kFrame, kSample / 2) << seconds << " s";
    // The encoder pads the signal by its delay and up to two frames.
    EXPECT_GT(duration, seconds + 576 * kSample);
    EXPECT_LT(duration, seconds + 3 * kFrame);
    // And it is what the frame scan of the file says.
    const auto scan = kestrafon::mp3::ScanMp3Frames(bytes);
    EXPECT_FALSE(scan.hasInfoFrame);
    EXPECT_DOUBLE_EQ(duration, scan.Seconds());
  }
}

TEST_F(GstMediaTest, DurationIgnoresAnId3v2Tag) {
  // Without a LAME header, so that the frames are counted behind the tag.
  const std::string bare = Mp3("bare.mp3", 1.0, false);
  const auto audio = ReadBytes(bare);
  // An ID3v2.3 tag of 1000 bytes: a title, a private frame holding bytes that
  // look like MP3 frame headers, then padding.
  std::vector<std::uint8_t> tagged = {'I', 'D', '3', 3, 0, 0, 0, 0, 7, 104,  // 1000 = 7 * 128 + 104
                                      'T', 'I', 'T', '2', 0, 0, 0, 6, 0, 0, 0, 'T', 'o', 'n', 'e', '!'};
  const std::vector<std::uint8_t> priv = {'P', 'R', 'I', 'V', 0, 0, 0, 12, 0, 0, 'x', 0,
                                          0xFF, 0xFB, 0x90, 0x64, 0xFF, 0xFB, 0x90, 0x64, 0xFF, 0xFB};
  tagged.insert(tagged.end(), priv.begin(), priv.end());
  tagged.resize(10 + 1000, 0);
  tagged.insert(tagged.end(), audio.begin(), audio.end());
  const std::string path = dir_.File("tagged.mp3");
  WriteBytes(path, tagged);
  auto graph = Open(path);
  ASSERT_NE(graph, nullptr);
  auto untagged = Open(bare);
  ASSERT_NE(untagged, nullptr);
  EXPECT_EQ(DurationOf(*graph), DurationOf(*untagged));
  EXPECT_NEAR(DurationOf(*graph), DecodedSeconds(path), kSample / 2);
}

TEST_F(GstMediaTest, DurationIsTheLengthThatIsPlayed) {
  const std::string lame = Mp3("lame.mp3", 1.0);
  const std::string bare = Mp3("bare.mp3", 1.0, false);
  std::vector<std::string> files = {lame, bare};
  for (const std::string& whole : {lame, bare}) {
    auto bytes = ReadBytes(whole);
    bytes.resize(bytes.size() / 2 + 123);
    files.push_back(whole + ".cut.mp3");
    WriteBytes(files.back(), bytes);
  }
  for (const std::string& path : files) {
    auto graph = Open(path);
    ASSERT_NE(graph, nullptr);
    EXPECT_NEAR(DurationOf(*graph), DecodedSeconds(path), kSample / 2) << path;
  }
}

TEST_F(GstMediaTest, OtherAudioFormatsUseTheDecoderDuration) {
  const std::string wav = dir_.File("tone.wav");
  ASSERT_EQ(std::system(("sox -q -n -r 44100 -c 2 -b 16 '" + wav + "' synth 1.5 sine 440 vol 0.3").c_str()), 0);
  auto graph = Open(wav);
  ASSERT_NE(graph, nullptr);
  EXPECT_NEAR(DurationOf(*graph), 1.5, 0.001);
}

TEST_F(GstMediaTest, EmptyFilesPicturesAndUnreadableFilesFail) {
  // Missing files, folders and text are the contract's; these are more.
  const std::string empty = dir_.File("empty.mp3");
  WriteBytes(empty, {});
  EXPECT_FALSE(Renders(empty)) << "empty file";

  // A 1x1 PNG: it decodes, but to a picture.
  const std::string image = dir_.File("picture.mp3");
  WriteBytes(image, {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
                     0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
                     0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x0A, 0x49, 0x44, 0x41, 0x54, 0x78,
                     0x9C, 0x63, 0x00, 0x01, 0x00, 0x00, 0x05, 0x00, 0x01, 0x0D, 0x0A, 0x2D, 0xB4, 0x00,
                     0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82});
  EXPECT_FALSE(Renders(image)) << "image file";

  // Permissions do not bind root, so the unreadable file is only tried by
  // other users; the directory above covers the read failure for root.
  if (geteuid() != 0) {
    const std::string locked = Mp3("locked.mp3", 1.0);
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    EXPECT_FALSE(Renders(locked)) << "unreadable file";
  }
}

// Plays `graph` to its end and checks that the position then reads exactly
// the duration, having grown steadily on the clock without passing it.
void PlayToTheEnd(MediaGraph& graph) {
  const double duration = DurationOf(graph);
  ASSERT_GT(duration, 0.0);
  const auto started = Clock::now();
  ASSERT_TRUE(graph.Run());
  double last = 0.0;
  bool steady = true;
  ASSERT_TRUE(WaitFor([&] {
    const double now = Position(graph);
    steady = steady && now >= last && now <= duration;
    last = now;
    return now == duration;
  })) << "last position " << last << " of " << duration;
  EXPECT_TRUE(steady);
  const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
  EXPECT_GT(elapsed, duration - 0.1) << "played on the clock";
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(Position(graph), duration) << "the end stays put";
}

TEST_F(GstMediaTest, EndOfStreamWithoutLameHeader) {
  auto graph = Open(Mp3("bare.mp3", 1.0, false));
  ASSERT_NE(graph, nullptr);
  PlayToTheEnd(*graph);
}

TEST_F(GstMediaTest, TruncatedMp3PlaysWhatItHolds) {
  auto bytes = ReadBytes(Mp3("tone.mp3", 1.0));
  // Cut in the middle of a frame, a little under halfway.
  bytes.resize(bytes.size() * 2 / 5 + 200);
  const std::string path = dir_.File("cut.mp3");
  WriteBytes(path, bytes);

  auto graph = Open(path);
  ASSERT_NE(graph, nullptr);
  const double duration = DurationOf(*graph);
  EXPECT_GT(duration, 0.3);
  EXPECT_LT(duration, 0.5);
  EXPECT_DOUBLE_EQ(duration, kestrafon::mp3::ScanMp3Frames(bytes).Seconds());
  PlayToTheEnd(*graph);
}

std::vector<std::string> ChainOf(MediaGraph& graph) {
  return dynamic_cast<GstMediaGraph&>(graph).ElementFactories();
}

// What a file holds, not its name, picks the chain: MP3 streams go through
// the fixed parser and decoder (behind id3demux when tagged at either end),
// everything else through decodebin.
TEST_F(GstMediaTest, Mp3FilesTakeTheFixedChainAndOthersDecodebin) {
  using ::testing::AllOf;
  using ::testing::Contains;
  using ::testing::Not;
  const std::string plain = Mp3("plain.mp3", 1.0);
  auto graph = Open(plain);
  ASSERT_NE(graph, nullptr);
  EXPECT_THAT(ChainOf(*graph), AllOf(Contains("mpegaudioparse"), Contains("mpg123audiodec"),
                                     Not(Contains("decodebin")), Not(Contains("id3demux"))));

  const auto audio = ReadBytes(plain);
  std::vector<std::uint8_t> front = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 30};
  front.resize(10 + 30, 0);
  front.insert(front.end(), audio.begin(), audio.end());
  std::vector<std::uint8_t> back = audio;
  const std::string v1 = "TAGA title";
  back.insert(back.end(), v1.begin(), v1.end());
  back.resize(audio.size() + 128, 0);
  for (const auto& [name, bytes] : {std::pair{"front.mp3", front}, std::pair{"back.mp3", back}}) {
    const std::string path = dir_.File(name);
    WriteBytes(path, bytes);
    auto tagged = Open(path);
    ASSERT_NE(tagged, nullptr) << name;
    EXPECT_THAT(ChainOf(*tagged), AllOf(Contains("id3demux"), Contains("mpg123audiodec"), Not(Contains("decodebin"))))
        << name;
    EXPECT_EQ(DurationOf(*tagged), DurationOf(*graph)) << name;
  }

  const std::string wavNamedMp3 = dir_.File("tone.mp3.wav.mp3");
  ASSERT_EQ(std::system(("sox -q -n -r 44100 -c 2 -b 16 -t wav '" + wavNamedMp3 + "' synth 1 sine 440").c_str()), 0);
  auto wav = Open(wavNamedMp3);
  ASSERT_NE(wav, nullptr);
  EXPECT_THAT(ChainOf(*wav), AllOf(Contains("decodebin"), Not(Contains("mpg123audiodec"))));
  EXPECT_NEAR(DurationOf(*wav), 1.0, 0.001);

  const std::string mp3NamedWav = dir_.File("tone.wav");
  WriteBytes(mp3NamedWav, audio);
  auto renamed = Open(mp3NamedWav);
  ASSERT_NE(renamed, nullptr);
  EXPECT_THAT(ChainOf(*renamed), Contains("mpg123audiodec"));
  EXPECT_EQ(DurationOf(*renamed), DurationOf(*graph));
}

// Without the MP3 parser the fixed chain cannot be built: the graph falls
// back to decodebin, which finds nothing either, and gives up cleanly; the
// next file opens once the parser is back.
TEST_F(GstMediaTest, Mp3WithoutItsPluginsFailsCleanly) {
  const std::string path = Mp3("tone.mp3", 1.0);
  GstRegistry* registry = gst_registry_get();
  GstPluginFeature* parser = gst_registry_lookup_feature(registry, "mpegaudioparse");
  ASSERT_NE(parser, nullptr);
  gst_registry_remove_feature(registry, parser);
  auto graph = framework_.CreateGraph(events_);
  const auto started = Clock::now();
  EXPECT_FALSE(graph->RenderFile(path));
  EXPECT_LT(std::chrono::duration<double>(Clock::now() - started).count(), 2.0) << "no wait for a preroll bound";
  EXPECT_TRUE(ChainOf(*graph).empty());
  gst_registry_add_feature(registry, parser);  // takes the reference back
  EXPECT_TRUE(Renders(path));
}

TEST(GainFromHundredthsDb, MapsDecibelsToLinearGain) {
  EXPECT_DOUBLE_EQ(GainFromHundredthsDb(0), 1.0);
  EXPECT_DOUBLE_EQ(GainFromHundredthsDb(-2000), 0.1);
  EXPECT_DOUBLE_EQ(GainFromHundredthsDb(-4000), 0.01);
  EXPECT_NEAR(GainFromHundredthsDb(-600), 0.501187, 1e-6);
  EXPECT_NEAR(GainFromHundredthsDb(-9999), std::pow(10.0, -4.9995), 1e-12);
  EXPECT_EQ(GainFromHundredthsDb(-10000), 0.0) << "the bottom of the range is silence";
  EXPECT_EQ(GainFromHundredthsDb(-30000), 0.0);
  EXPECT_EQ(GainFromHundredthsDb(500), 1.0) << "never louder than the file";
  double previous = 0.0;
  for (long v = -9900; v <= 0; v += 100) {
    const double gain = GainFromHundredthsDb(v);
    EXPECT_GT(gain, previous) << v;
    previous = gain;
  }
}

TEST_F(GstMediaTest, VolumeSetsTheGainAndCarriesToTheNextGraph) {
  const std::string path = Mp3("tone.mp3", 1.0);
  auto unopened = framework_.CreateGraph(events_);
  EXPECT_FALSE(unopened->PutVolume(-100)) << "no chain to set it on";

  auto first = Open(path);
  ASSERT_NE(first, nullptr);
  auto& firstGst = dynamic_cast<GstMediaGraph&>(*first);
  EXPECT_EQ(firstGst.Gain(), 1.0) << "a fresh framework starts at full volume";
  ASSERT_TRUE(first->PutVolume(-2000));
  EXPECT_NEAR(firstGst.Gain().value_or(-1), 0.1, 1e-6);
  ASSERT_TRUE(first->PutVolume(-10000));
  EXPECT_EQ(firstGst.Gain(), 0.0);
  ASSERT_TRUE(first->PutVolume(-600));
  EXPECT_FALSE(first->PutVolume(1)) << "above full volume";
  EXPECT_FALSE(first->PutVolume(-10001)) << "below silence";
  EXPECT_NEAR(firstGst.Gain().value_or(-1), 0.501187, 1e-6) << "a refused volume changes nothing";

  auto second = Open(path);
  ASSERT_NE(second, nullptr);
  EXPECT_NEAR(dynamic_cast<GstMediaGraph&>(*second).Gain().value_or(-1), 0.501187, 1e-6)
      << "the new graph prerolled at the last volume";
}

TEST_F(GstMediaTest, GraphsAreIndependent) {
  auto a = Open(Mp3("a.mp3", 1.0));
  auto b = Open(Mp3("b.mp3", 2.5));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NEAR(DurationOf(*a), 1.0, kSample);
  EXPECT_NEAR(DurationOf(*b), 2.5, kSample);
  ASSERT_TRUE(a->Run());
  ASSERT_TRUE(WaitFor([&] { return Position(*a) > 0.1; }));
  EXPECT_EQ(Position(*b), 0.0);
  a.reset();  // torn down while running
  EXPECT_EQ(Position(*b), 0.0);
}

}  // namespace

namespace kestrafon::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(GStreamer, MediaGraphContract, GStreamer);
}  // namespace kestrafon::contracts
