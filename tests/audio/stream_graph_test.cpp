// The stream graph over fake files and a fake device: what it plays, sample
// for sample, and what it tells; and the contract every media graph meets,
// with a device that plays in real time.
#include "audio/stream_graph.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "audio/fake_audio.h"
#include "contracts/media_graph_contract.h"
#include "fakes/recorded_events.h"

namespace kestrafon::audio {
namespace {

using fakes::FakeSystem;
using fakes::Mark;
using fakes::SourceSpec;
using kestrafon::fakes::RecordedEvents;

// The samples a source marked `mark` plays from `from` to `to`, scaled by `gain`.
std::vector<std::int16_t> Expected(int mark, std::int64_t from, std::int64_t to, int channels, double gain = 1.0) {
  std::vector<std::int16_t> samples;
  for (std::int64_t f = from; f < to; ++f)
    for (int c = 0; c < channels; ++c)
      samples.push_back(static_cast<std::int16_t>(std::clamp(std::lround(Mark(mark, f, c) * gain), -32768L, 32767L)));
  return samples;
}

void Append(std::vector<std::int16_t>& to, const std::vector<std::int16_t>& more) {
  to.insert(to.end(), more.begin(), more.end());
}

// Without the silence the stream puts around the sound (no marked sample is 0).
std::vector<std::int16_t> Sound(std::vector<std::int16_t> samples) {
  const auto loud = [](std::int16_t s) { return s != 0; };
  samples.erase(std::find_if(samples.rbegin(), samples.rend(), loud).base(), samples.end());
  samples.erase(samples.begin(), std::find_if(samples.begin(), samples.end(), loud));
  return samples;
}

class StreamGraphTest : public ::testing::Test {
 protected:
  StreamGraphTest() {
    system->files["a"] = {1, 3000, {44100, 2}};
    system->files["b"] = {2, 5000, {44100, 2}};
  }
  std::vector<std::int16_t> Heard() {
    std::lock_guard lock(system->output->mutex);
    return Sound(system->output->heard);
  }
  // Lets the device play and the window's thread run until `done`, for at most `ms`.
  bool PlayUntil(const std::function<bool()>& done, int ms = 5000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
      system->Deliver();
      if (done()) return true;
      system->output->Grant(700);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }
  double Position() {
    double seconds = -1;
    EXPECT_TRUE(graph->CurrentPosition(seconds));
    return seconds;
  }
  double Duration() {
    double seconds = -1;
    EXPECT_TRUE(graph->Duration(seconds));
    return seconds;
  }

  std::shared_ptr<FakeSystem> system = std::make_shared<FakeSystem>();
  RecordedEvents events;
  std::unique_ptr<StreamGraph> graph = std::make_unique<StreamGraph>(system, events);
};

// The second file's first sample comes straight after the first file's
// last, in the same format or, after the device is opened anew (and has
// played its lead of silence), in another; a file that gives less than it
// announced is made up with silence.
TEST_F(StreamGraphTest, AFollowedFileJoinsAtTheSampleAndTheStreamEndsExactly) {
  struct Case {
    const char* name;
    SourceSpec second;
    std::size_t opens;
  };
  const Case cases[] = {
      {"same format", {2, 5000, {44100, 2}}, 1},
      {"another rate", {2, 5000, {48000, 2}}, 2},
      {"mono", {2, 5000, {44100, 1}}, 2},
      {"cut short", {2, 5000, {44100, 2}, 1200}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    system = std::make_shared<FakeSystem>();
    system->files["a"] = {1, 3000, {44100, 2}};
    system->files["b"] = c.second;
    events.heard.clear();
    graph = std::make_unique<StreamGraph>(system, events);
    ASSERT_TRUE(graph->RenderFile("a"));
    graph->Follow("b", 7);
    ASSERT_TRUE(PlayUntil([&] { return graph->FollowerQueued(); }));
    ASSERT_TRUE(graph->Run());
    ASSERT_TRUE(PlayUntil([&] { return events.Heard("ended"); }));
    EXPECT_EQ(events.heard, (std::vector<std::string>{"started 7", "ended"}));

    const SourceSpec& b = c.second;
    std::vector<std::int16_t> expected = Expected(1, 0, 3000, 2);
    if (c.opens > 1) {
      const auto lead = PcmStream::kLeadMilliseconds * b.format.sampleRate / 1000 * b.format.channels;
      expected.resize(expected.size() + static_cast<std::size_t>(lead), 0);
    }
    Append(expected, Expected(2, 0, b.readable < 0 ? b.frames : b.readable, b.format.channels));
    EXPECT_EQ(Heard(), expected);
    EXPECT_EQ(system->output->opened.size(), c.opens);
    EXPECT_EQ(Position(), Duration());
    EXPECT_EQ(Duration(), 5000.0 / b.format.sampleRate);
  }
}

// What a device counts as played may still be on its way to the speaker:
// the end is read only once the stream has played its tail and ended.
TEST_F(StreamGraphTest, TheEndIsReadOnceTheStreamHasEnded) {
  ASSERT_TRUE(graph->RenderFile("a"));
  ASSERT_TRUE(graph->Run());
  const std::int64_t sound = PcmStream::kLeadMilliseconds * 44100 / 1000 + 3000;
  system->output->Grant(sound);
  const auto played = [&] {
    std::lock_guard lock(system->output->mutex);
    return static_cast<std::int64_t>(system->output->heard.size() / 2);
  };
  for (int waited = 0; waited < 5000 && played() < sound; ++waited)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(played(), sound);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  system->Deliver();
  EXPECT_EQ(Position(), 2999.0 / 44100);
  EXPECT_TRUE(events.heard.empty());
  ASSERT_TRUE(PlayUntil([&] { return events.Heard("ended"); }));
  EXPECT_EQ(Position(), Duration());
}

TEST_F(StreamGraphTest, VolumeScalesTheSamplesFromTheNextBlock) {
  ASSERT_TRUE(graph->RenderFile("a"));
  ASSERT_TRUE(graph->PutVolume(-600));
  ASSERT_TRUE(graph->PutCurrentPosition(0));  // what was queued before the volume goes
  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(PlayUntil([&] { return events.Heard("ended"); }));
  EXPECT_EQ(Heard(), Expected(1, 0, 3000, 2, GainOfVolume(-600)));
  EXPECT_NEAR(GainOfVolume(-600), 0.5012, 1e-4);
  EXPECT_EQ(GainOfVolume(-10000), 0.0);
  EXPECT_EQ(GainOfVolume(0), 1.0);
}

// Each file plays at the gain its loudness asks for, times the volume, from
// its first sample to its last; past full scale, a sample is held there.
TEST_F(StreamGraphTest, EachFilePlaysAtItsOwnLoudnessFromItsFirstSample) {
  system->files["b"] = {2, 2000, {44100, 2}};
  system->read = [](const std::string& path) { return seam::TrackFacts{path == "a" ? 0.5 : 40.0}; };
  ASSERT_TRUE(graph->RenderFile("a"));
  ASSERT_TRUE(graph->PutVolume(-600));
  ASSERT_TRUE(graph->PutCurrentPosition(0));
  graph->Follow("b", 1);
  ASSERT_TRUE(PlayUntil([&] { return graph->FollowerQueued(); }));
  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(PlayUntil([&] { return events.Heard("ended"); }));
  std::vector<std::int16_t> expected = Expected(1, 0, 3000, 2, 0.5 * GainOfVolume(-600));
  Append(expected, Expected(2, 0, 2000, 2, 40.0 * GainOfVolume(-600)));
  EXPECT_EQ(Heard(), expected);
}

// Moving the position: it reads the new place at once, and the device
// plays from exactly there; a followed file then starts from its own start.
TEST_F(StreamGraphTest, ASeekPlaysFromTheExactFrame) {
  ASSERT_TRUE(graph->RenderFile("a"));
  graph->Follow("b", 3);
  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(PlayUntil([&] { return events.Heard("started 3"); }));
  ASSERT_TRUE(graph->Pause());
  ASSERT_TRUE(graph->PutCurrentPosition(1000.0 / 44100));
  EXPECT_EQ(Position(), 1000.0 / 44100);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the stream takes the seek up
  EXPECT_EQ(Position(), 1000.0 / 44100) << "while the lead of silence before it waits to play";
  const std::size_t before = [&] {
    std::lock_guard lock(system->output->mutex);
    return system->output->heard.size();
  }();
  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(PlayUntil([&] { return events.Heard("ended"); }));
  std::lock_guard lock(system->output->mutex);
  const std::vector<std::int16_t>& all = system->output->heard;
  EXPECT_EQ(Sound(std::vector<std::int16_t>(all.begin() + static_cast<std::ptrdiff_t>(before), all.end())),
            Expected(2, 1000, 5000, 2));
}

TEST_F(StreamGraphTest, ADroppedFollowerIsNotPlayedUnlessItReachedTheDevice) {
  ASSERT_TRUE(graph->RenderFile("a"));
  graph->Follow("b", 4);
  ASSERT_TRUE(PlayUntil([&] { return graph->FollowerQueued(); }));
  graph->Follow("", 0);
  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(PlayUntil([&] { return events.Heard("ended"); }));
  EXPECT_EQ(events.heard, std::vector<std::string>{"ended"});
  EXPECT_EQ(Heard(), Expected(1, 0, 3000, 2));

  // Given to the device already, it plays, and what is asked next follows it.
  system->files["c"] = {3, 2000, {44100, 2}};
  events.heard.clear();
  system->output->written = 0;
  graph = std::make_unique<StreamGraph>(system, events);
  ASSERT_TRUE(graph->RenderFile("a"));
  graph->Follow("b", 4);
  ASSERT_TRUE(PlayUntil([&] { return graph->FollowerQueued(); }));
  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(PlayUntil([&] {
    std::lock_guard lock(system->output->mutex);
    // b went to the device, after the lead of silence and a
    return system->output->written > PcmStream::kLeadMilliseconds * 44100 / 1000 + 3000;
  }));
  graph->Follow("c", 5);
  ASSERT_TRUE(PlayUntil([&] { return events.Heard("ended"); }));
  EXPECT_EQ(events.heard, (std::vector<std::string>{"started 4", "started 5", "ended"}));
}

TEST_F(StreamGraphTest, AFollowerNotOpenedByTheEndFailsBeforeTheStreamEnds) {
  std::promise<void> release;
  std::shared_future<void> held = release.get_future().share();
  ASSERT_TRUE(graph->RenderFile("a"));
  system->beforeOpening = [held] { held.wait(); };
  graph->Follow("b", 5);
  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(PlayUntil([&] { return events.Heard("ended"); }));
  EXPECT_EQ(events.heard, (std::vector<std::string>{"failed 5", "ended"}));
  release.set_value();
  system->WaitForWorkers(5000);
  system->Deliver();
  EXPECT_EQ(events.heard.size(), 2u) << "the late answer is not told";
}

TEST_F(StreamGraphTest, TheDeviceMissingOrGoneIsAFault) {
  system->output->refuse = true;
  EXPECT_FALSE(graph->RenderFile("a"));
  EXPECT_EQ(graph->Fault(), seam::OutputFault::NoDevice);
  EXPECT_FALSE(graph->Run());

  system->output->refuse = false;
  graph = std::make_unique<StreamGraph>(system, events);
  ASSERT_TRUE(graph->RenderFile("a"));
  ASSERT_TRUE(graph->Run());
  {
    std::lock_guard lock(system->output->mutex);
    system->output->lost = true;
  }
  ASSERT_TRUE(PlayUntil([&] { return events.Heard("lost"); }));
  EXPECT_EQ(graph->Fault(), seam::OutputFault::DeviceLost);
  PlayUntil([] { return false; }, 200);
  EXPECT_EQ(events.heard, std::vector<std::string>{"lost"}) << "once";
}

}  // namespace

// The contract, with a device that plays in real time.
namespace {
FakeSystem* contractSystem = nullptr;
}

struct FakeStream {
  FakeStream() {
    system->output->clocked = true;
    system->files["tone1"] = {1, 44100, {44100, 2}};
    system->files["tone4"] = {2, 4 * 44100, {44100, 2}};
    contractSystem = system.get();
  }
  ~FakeStream() { contractSystem = nullptr; }
  static std::unique_ptr<seam::MediaFramework> MakeFramework(seam::ReadTrack read = {}) {
    contractSystem->read = std::move(read);
    return std::make_unique<StreamFramework>(std::shared_ptr<StreamSystem>(contractSystem->shared_from_this()));
  }
  static std::string Tone(int seconds) { return "tone" + std::to_string(seconds); }
  static std::string NotAudio() { return "not audio"; }
  static std::string Missing() { return "missing"; }
  static std::string Folder() { return "folder/"; }
  static std::string CopyAs(const std::string& from, const std::string& name) {
    contractSystem->files[name] = contractSystem->files.at(from);
    return name;
  }
  static void Wait(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
      contractSystem->Deliver();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < until);
    contractSystem->Deliver();
  }
  std::shared_ptr<FakeSystem> system = std::make_shared<FakeSystem>();
};

}  // namespace kestrafon::audio

namespace kestrafon::contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(FakeStream, MediaGraphContract, audio::FakeStream);
}  // namespace kestrafon::contracts
