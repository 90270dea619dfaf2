// The Windows sound stream against the real system (Wine's ACM, Media
// Foundation and waveOut): the contract every media backend meets, and a
// tone cut into pieces played as one, for stream_join.sh to record.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "contracts/media_graph_contract.h"
#include "fakes/recorded_events.h"
#include "model/replay_gain.h"
#include "os/win32/wide_text.h"
#include "platform/winsound/mp3_acm_source.h"
#include "platform/winsound/winsound_framework.h"
#include "windows/winsound/decoded_files.h"

namespace kestrafon {
namespace {

using fakes::RecordedEvents;
using winsound_tests::Fixture;

// The window's thread of the program: single-threaded COM, messages pumped.
struct WindowsStream {
  WindowsStream() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~WindowsStream() { CoUninitialize(); }
  static std::unique_ptr<seam::MediaFramework> MakeFramework(seam::ReadTrack read = {}) {
    return MakeWindowsSoundFramework(std::move(read));
  }
  static std::string Tone(int seconds) { return Fixture("tone" + std::to_string(seconds) + "s.mp3"); }
  static std::string NotAudio() { return Fixture("not_audio.mp3"); }
  static std::string Missing() { return Fixture("missing.mp3"); }
  static std::string Folder() { return Fixture(""); }
  static std::string CopyAs(const std::string& from, const std::string& name) {
    const std::string to = Fixture(name);
    return CopyFileW(os::Widen(from).c_str(), os::Widen(to).c_str(), FALSE) ? to : std::string();
  }
  static void Wait(int ms) {
    const DWORD until = GetTickCount() + DWORD(ms);
    do {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(5);
    } while (int(until - GetTickCount()) > 0);
  }
};

TEST(WindowsStream, WhatIsNotAnOrdinaryFileIsNeverOpened) {
  WindowsStream com;
  RecordedEvents events;
  auto graph = MakeWindowsSoundFramework()->CreateGraph(events);
  ASSERT_TRUE(graph);
  EXPECT_FALSE(graph->RenderFile("\\\\.\\pipe\\kestrafon-none"));
}

// What --version tells a listener who reports a sound problem.
TEST(WindowsStream, TheVersionNamesTheOutputAndTheMp3Decoder) {
  const std::string said = DescribeWindowsSound();
  EXPECT_NE(said.find("waveOut"), std::string::npos) << said;
  EXPECT_NE(said.find("MP3: Kestrafon's frame reader, decoded by ACM ("), std::string::npos) << said;
  EXPECT_EQ(said.find("no MP3 decoder found"), std::string::npos) << said;
}

// Plays the pieces made by stream_join.sh (KESTRAFON_JOIN_PIECES: their
// folder) as one list, as the player does in track mode, and writes what a
// gapless player must play (each piece decoded alone at the gain its
// ReplayGain tag asks for, one after another) to KESTRAFON_JOIN_EXPECTED for
// the script to find in what the sound server played.

TEST(StreamJoin, PiecesOfOneTonePlayAsOne) {
  const char* pieces = std::getenv("KESTRAFON_JOIN_PIECES");
  const char* expectedPath = std::getenv("KESTRAFON_JOIN_EXPECTED");
  ASSERT_TRUE(pieces && expectedPath) << "run by stream_join.sh";
  const std::vector<std::string> paths{std::string(pieces) + "\\piece1.mp3", std::string(pieces) + "\\piece2.mp3",
                                       std::string(pieces) + "\\piece3.mp3"};
  const seam::ReadTrack read = TrackReaderBy(ReplayGainSettings{});
  // -6.02 dB, -3 dB, and no tag.
  const double gains[] = {0.50003, 0.70795, 1.0};
  std::vector<std::int16_t> expected;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    const double gain = read(path).gain;
    EXPECT_NEAR(gain, gains[i], 0.0001) << path;
    auto alone = platform::winsound::OpenMp3Source(path);
    ASSERT_TRUE(alone) << path;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(alone->Frames()) * 2);
    ASSERT_EQ(alone->Read(samples.data(), static_cast<std::size_t>(alone->Frames())),
              static_cast<std::size_t>(alone->Frames()));
    for (std::int16_t& sample : samples) sample = static_cast<std::int16_t>(std::lround(sample * gain));
    expected.insert(expected.end(), samples.begin(), samples.end());
  }
  FILE* out = _wfopen(os::Widen(expectedPath).c_str(), L"wb");
  ASSERT_TRUE(out);
  fwrite(expected.data(), sizeof(std::int16_t), expected.size(), out);
  fclose(out);

  WindowsStream com;
  RecordedEvents events;
  auto framework = MakeWindowsSoundFramework(read);
  auto graph = framework->CreateGraph(events);
  ASSERT_TRUE(graph->RenderFile(paths[0]));
  graph->Follow(paths[1], 2);
  ASSERT_TRUE(graph->Run());  // at once, as the player runs a track it opened
  bool thirdAsked = false;
  for (int waited = 0; waited < 15000 && !events.Heard("ended"); waited += 10) {
    if (!thirdAsked && events.Heard("started 2")) {  // as the player readies the entry after the new one
      graph->Follow(paths[2], 3);
      thirdAsked = true;
    }
    WindowsStream::Wait(10);
  }
  EXPECT_EQ(events.heard, (std::vector<std::string>{"started 2", "started 3", "ended"}));
  // The sound server is still playing the last of it: the recording is of
  // the joints, not of how soon a device let go after the end is cut off.
  WindowsStream::Wait(500);
}

}  // namespace

namespace contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(WindowsStream, MediaGraphContract, WindowsStream);
}  // namespace contracts
}  // namespace kestrafon
