// The DirectShow side of the media seam against the real filter graph
// (Wine's, in the tests), through the contract every media backend meets.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "contracts/media_graph_contract.h"
#include "os/win32/wide_text.h"
#include "platform/directshow/dshow_graph.h"
#include "platform/directshow/dshow_media_factory.h"

namespace kestrafon {
namespace {

// Generated at build time: a 440 Hz tone of 1.0 and of 4.0 seconds, and text.
std::string Fixture(const std::string& name) {
  const char* dir = std::getenv("KESTRAFON_WIN_FIXTURES");
  return dir ? std::string(dir) + "\\" + name : name;
}

struct DirectShow {
  DirectShow() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~DirectShow() { CoUninitialize(); }
  static std::unique_ptr<platform::MediaFramework> MakeFramework() { return MakeDirectShowMediaFramework(); }
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

TEST(DirectShowGraph, APipeIsNeverOpened) {
  DirectShow com;
  auto graph = DirectShow::MakeFramework()->CreateGraph();
  ASSERT_TRUE(graph);
  EXPECT_FALSE(graph->RenderFile("\\\\.\\pipe\\kestrafon-none"));
}

TEST(DirectShowGraph, ALostSoundDeviceIsReported) {
  DirectShow com;
  auto graph = DirectShow::MakeFramework()->CreateGraph();
  ASSERT_TRUE(graph->RenderFile(DirectShow::Tone(4)));
  ASSERT_TRUE(graph->Run());
  EXPECT_EQ(graph->Fault(), platform::OutputFault::None);
  IMediaEventSink* events = nullptr;
  auto* directShow = dynamic_cast<platform::directshow::DirectShowGraph*>(graph.get());
  ASSERT_NE(directShow, nullptr);
  ASSERT_TRUE(SUCCEEDED(directShow->builder()->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&events))));
  events->Notify(EC_DEVICE_LOST, 0, 0);  // as the renderer posts it when its device is unplugged
  events->Release();
  EXPECT_EQ(graph->Fault(), platform::OutputFault::DeviceLost);
}

// The followed file starts from the graph's own end-of-stream notice, as the
// window gets it, with no one polling the graph.
TEST(DirectShowGraph, TheEndOfTheStreamStartsTheFollowedFile) {
  DirectShow com;
  auto graph = DirectShow::MakeFramework()->CreateGraph();
  ASSERT_TRUE(graph->RenderFile(DirectShow::Tone(4)));
  ASSERT_TRUE(graph->Follow(DirectShow::Tone(1)));
  ASSERT_TRUE(graph->Run());
  auto* directShow = dynamic_cast<platform::directshow::DirectShowGraph*>(graph.get());
  ASSERT_NE(directShow, nullptr);
  IGraphBuilder* first = directShow->builder();
  IMediaEventSink* events = nullptr;
  ASSERT_TRUE(SUCCEEDED(first->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&events))));
  events->Notify(EC_COMPLETE, S_OK, 0);  // as the renderer posts it at the end of the stream
  events->Release();
  DirectShow::Wait(50);
  EXPECT_NE(directShow->builder(), first) << "the followed file's graph is the current one";
  EXPECT_TRUE(graph->MovedOn());
  double duration = 0;
  ASSERT_TRUE(graph->Duration(duration));
  EXPECT_NEAR(duration, 1.0, 0.06);
}

}  // namespace

namespace contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(DirectShow, MediaGraphContract, DirectShow);
}  // namespace contracts
}  // namespace kestrafon
