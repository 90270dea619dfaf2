// The DirectShow side of the media seam against the real filter graph
// (Wine's, in the tests), through the contract every media backend meets.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "contracts/media_graph_contract.h"
#include "fakes/recorded_events.h"
#include "os/win32/wide_text.h"
#include "platform/directshow/dshow_graph.h"
#include "platform/directshow/dshow_media_factory.h"

namespace kestrafon {
namespace {

using fakes::RecordedEvents;
using platform::directshow::DirectShowGraph;

// Generated at build time: a 440 Hz tone of 1.0 and of 4.0 seconds, and text.
std::string Fixture(const std::string& name) {
  const char* dir = std::getenv("KESTRAFON_WIN_FIXTURES");
  return dir ? std::string(dir) + "\\" + name : name;
}

struct DirectShow {
  DirectShow() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~DirectShow() { CoUninitialize(); }
  static std::unique_ptr<seam::MediaFramework> MakeFramework() { return MakeDirectShowMediaFramework(); }
  static std::string Tone(int seconds) { return Fixture("tone" + std::to_string(seconds) + "s.mp3"); }
  static std::string NotAudio() { return Fixture("not_audio.mp3"); }
  static std::string Missing() { return Fixture("missing.mp3"); }
  static std::string Folder() { return Fixture(""); }
  static std::string CopyAs(const std::string& from, const std::string& name) {
    const std::string to = Fixture(name);
    return CopyFileW(os::Widen(from).c_str(), os::Widen(to).c_str(), FALSE) ? to : std::string();
  }
  // Pumps the thread's messages meanwhile, as the user-interface thread does.
  static void Wait(int ms) {
    const DWORD until = GetTickCount() + DWORD(ms);
    do {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(5);
    } while (int(until - GetTickCount()) > 0);
  }
};

DirectShowGraph* AsDirectShow(const std::unique_ptr<seam::MediaGraph>& graph) {
  return dynamic_cast<DirectShowGraph*>(graph.get());
}

// Queues an event in the current graph, as a renderer does; the graph's
// window hears of it at the next turn of the message loop.
void Notify(DirectShowGraph& graph, long code) {
  IMediaEventSink* sink = nullptr;
  ASSERT_TRUE(SUCCEEDED(graph.builder()->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink))));
  sink->Notify(code, code == EC_COMPLETE ? S_OK : 0, 0);
  sink->Release();
}

OAFilterState State(DirectShowGraph& graph) {
  IMediaControl* control = nullptr;
  OAFilterState state = -1;
  if (SUCCEEDED(graph.builder()->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control)))) {
    control->GetState(1000, &state);
    control->Release();
  }
  return state;
}

// Pumps messages until the followed file is readied, for at most five seconds.
bool UntilReadied(DirectShowGraph& graph) {
  for (int waited = 0; waited < 5000 && !graph.FollowerReadied(); waited += 10) DirectShow::Wait(10);
  return graph.FollowerReadied();
}

TEST(DirectShowGraph, APipeIsNeverOpened) {
  DirectShow com;
  RecordedEvents events;
  auto graph = DirectShow::MakeFramework()->CreateGraph(events);
  ASSERT_TRUE(graph);
  EXPECT_FALSE(graph->RenderFile("\\\\.\\pipe\\kestrafon-none"));
}

TEST(DirectShowGraph, ALostSoundDeviceIsReportedOnceFromTheMessageLoop) {
  DirectShow com;
  RecordedEvents events;
  auto graph = DirectShow::MakeFramework()->CreateGraph(events);
  ASSERT_TRUE(graph->RenderFile(DirectShow::Tone(4)));
  ASSERT_TRUE(graph->Run());
  auto* directShow = AsDirectShow(graph);
  ASSERT_NE(directShow, nullptr);
  // As the renderer posts it when its device is unplugged; a second device
  // goes the same way.
  Notify(*directShow, EC_DEVICE_LOST);
  Notify(*directShow, EC_DEVICE_LOST);
  EXPECT_EQ(graph->Fault(), seam::OutputFault::None) << "not handled before the loop runs";
  DirectShow::Wait(50);
  EXPECT_EQ(graph->Fault(), seam::OutputFault::DeviceLost);
  EXPECT_EQ(events.heard, std::vector<std::string>{"lost"});
}

// The end of the stream is met as the window gets the graph's notice, which
// may be after the user's next command: the command wins. Rewinding as the
// engine does it (drop the follower, stop, go to 0) starts nothing.
TEST(DirectShowGraph, AnEndHandledAfterACommandObeysTheCommand) {
  struct Case {
    const char* name;
    std::function<void(seam::MediaGraph&)> command;
    bool followerStarts;
    OAFilterState state;
  };
  const Case cases[] = {
      {"no command", [](seam::MediaGraph&) {}, true, State_Running},
      {"pause", [](seam::MediaGraph& graph) { ASSERT_TRUE(graph.Pause()); }, true, State_Paused},
      {"stop and rewind",
       [](seam::MediaGraph& graph) {
         graph.Follow("", 0);
         ASSERT_TRUE(graph.Stop());
         ASSERT_TRUE(graph.PutCurrentPosition(0));
       },
       false, State_Stopped},
  };
  DirectShow com;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordedEvents events;
    auto graph = DirectShow::MakeFramework()->CreateGraph(events);
    auto* directShow = AsDirectShow(graph);
    ASSERT_NE(directShow, nullptr);
    ASSERT_TRUE(graph->RenderFile(DirectShow::Tone(4)));
    graph->Follow(DirectShow::Tone(1), 3);
    ASSERT_TRUE(UntilReadied(*directShow));
    ASSERT_TRUE(graph->Run());
    IGraphBuilder* first = directShow->builder();
    Notify(*directShow, EC_COMPLETE);  // as the renderer posts it at the end of the stream
    c.command(*graph);
    DirectShow::Wait(50);

    double duration = 0, position = -1;
    ASSERT_TRUE(graph->Duration(duration));
    ASSERT_TRUE(graph->CurrentPosition(position));
    EXPECT_EQ(State(*directShow), c.state);
    if (c.followerStarts) {
      EXPECT_NE(directShow->builder(), first) << "the followed file's graph is the current one";
      EXPECT_NEAR(duration, 1.0, 0.06);
      EXPECT_EQ(events.heard, std::vector<std::string>{"started 3"});
    } else {
      EXPECT_EQ(directShow->builder(), first);
      EXPECT_FALSE(events.Heard("started 3"));
      EXPECT_EQ(position, 0.0) << "rewound, not at the end";
    }
  }
}

// A follower whose worker has not finished when the stream ends is given
// up; the graph can then go without waiting for that worker.
TEST(DirectShowGraph, AFollowerNotReadyAtTheEndFailsAndTheStreamEnds) {
  DirectShow com;
  RecordedEvents events;
  std::promise<void> release;
  {
    auto graph = DirectShow::MakeFramework()->CreateGraph(events);
    auto* directShow = AsDirectShow(graph);
    ASSERT_NE(directShow, nullptr);
    directShow->SetFollowerGate([held = release.get_future().share()] { held.wait(); });
    ASSERT_TRUE(graph->RenderFile(DirectShow::Tone(4)));
    graph->Follow(DirectShow::Tone(1), 5);
    ASSERT_TRUE(graph->Run());
    Notify(*directShow, EC_COMPLETE);
    DirectShow::Wait(50);
    EXPECT_EQ(events.heard, (std::vector<std::string>{"failed 5", "ended"}));
    double duration = 0, position = -1;
    ASSERT_TRUE(graph->Duration(duration));
    ASSERT_TRUE(graph->CurrentPosition(position));
    EXPECT_EQ(position, duration);
  }  // the worker is still held here: a destructor that waited for it would never return
  release.set_value();
}

}  // namespace

namespace contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(DirectShow, MediaGraphContract, DirectShow);
}  // namespace contracts
}  // namespace kestrafon
