// The DirectShow side of the media seam against the real filter graph
// (Wine's, in the tests): open or fail, run, pause, stop, positions in
// seconds, the exact end, the volume.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/directshow/dshow_media_factory.h"

namespace kestrafon {
namespace {

// Generated at build time: a 440 Hz tone of 1.0 and of 4.0 seconds.
std::string Fixture(const char* name) {
  const char* dir = std::getenv("KESTRAFON_WIN_FIXTURES");
  return dir ? std::string(dir) + "\\" + name : std::string(name);
}

class DirectShowGraph : public testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    framework = MakeDirectShowMediaFramework();
  }
  void TearDown() override {
    framework.reset();
    CoUninitialize();
  }
  std::unique_ptr<platform::MediaGraph> Rendered(const std::string& path) {
    auto graph = framework->CreateGraph();
    if (!graph || !graph->RenderFile(path)) return nullptr;
    return graph;
  }
  // Lets the graph play for a while, pumping messages as the UI thread does.
  static void PlayFor(DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    while (int(until - GetTickCount()) > 0) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(10);
    }
  }

  std::unique_ptr<platform::MediaFramework> framework;
};

TEST_F(DirectShowGraph, OpensAnMp3AndReadsItsDuration) {
  auto graph = Rendered(Fixture("tone4s.mp3"));
  ASSERT_TRUE(graph);
  double duration = 0, position = -1;
  ASSERT_TRUE(graph->Duration(duration));
  EXPECT_NEAR(duration, 4.0, 0.06);
  ASSERT_TRUE(graph->CurrentPosition(position));
  EXPECT_EQ(position, 0.0);
  EXPECT_FALSE(graph->RenderFile(Fixture("tone1s.mp3")));  // one file per graph
}

TEST_F(DirectShowGraph, NamesOutsideTheCodePageOpen) {
  const std::string source = Fixture("tone1s.mp3");
  const std::wstring from(source.begin(), source.end());  // ASCII
  const std::string to = Fixture("\xE3\x83\x88\xED\x95\x9C \xC3\xBC.mp3");  // "ト한 ü.mp3"
  const std::wstring toWide = from.substr(0, from.size() - 10) + L"\u30C8\uD55C \u00FC.mp3";
  ASSERT_TRUE(CopyFileW(from.c_str(), toWide.c_str(), FALSE));
  auto graph = Rendered(to);
  DeleteFileW(toWide.c_str());
  ASSERT_TRUE(graph);
  double duration = 0;
  ASSERT_TRUE(graph->Duration(duration));
  EXPECT_NEAR(duration, 1.0, 0.06);
}

TEST_F(DirectShowGraph, MissingDirectoriesAndNonAudioFail) {
  EXPECT_FALSE(Rendered(Fixture("missing.mp3")));
  EXPECT_FALSE(Rendered(""));
  EXPECT_FALSE(Rendered(Fixture("")));                    // the directory
  EXPECT_FALSE(Rendered(Fixture("not_audio.mp3")));       // text named .mp3
  EXPECT_FALSE(Rendered("\\\\.\\pipe\\kestrafon-none"));  // never opened
  // A graph that failed does nothing.
  auto graph = framework->CreateGraph();
  ASSERT_TRUE(graph);
  EXPECT_FALSE(graph->RenderFile(Fixture("missing.mp3")));
  double seconds = 0;
  EXPECT_FALSE(graph->Run());
  EXPECT_FALSE(graph->Duration(seconds));
  EXPECT_FALSE(graph->PutVolume(0));
}

TEST_F(DirectShowGraph, RunsPausesStopsAndRewinds) {
  auto graph = Rendered(Fixture("tone4s.mp3"));
  ASSERT_TRUE(graph);
  ASSERT_TRUE(graph->PutVolume(-480));
  ASSERT_TRUE(graph->Run());
  PlayFor(700);
  ASSERT_TRUE(graph->Pause());
  double paused = 0, later = 0;
  ASSERT_TRUE(graph->CurrentPosition(paused));
  EXPECT_GT(paused, 0.3);
  EXPECT_LT(paused, 2.0);
  PlayFor(300);
  ASSERT_TRUE(graph->CurrentPosition(later));
  EXPECT_NEAR(later, paused, 0.02);  // paused means still
  // Stop keeps the position; rewinding is a separate call.
  ASSERT_TRUE(graph->Stop());
  ASSERT_TRUE(graph->CurrentPosition(later));
  EXPECT_NEAR(later, paused, 0.1);
  ASSERT_TRUE(graph->PutCurrentPosition(0));
  ASSERT_TRUE(graph->CurrentPosition(later));
  EXPECT_EQ(later, 0.0);
}

TEST_F(DirectShowGraph, AtTheEndThePositionReadsExactlyTheDuration) {
  auto graph = Rendered(Fixture("tone1s.mp3"));
  ASSERT_TRUE(graph);
  double duration = 0, position = 0;
  ASSERT_TRUE(graph->Duration(duration));
  ASSERT_TRUE(graph->Run());
  for (int i = 0; i < 100 && position != duration; ++i) {
    PlayFor(50);
    ASSERT_TRUE(graph->CurrentPosition(position));
    ASSERT_LE(position, duration);
  }
  EXPECT_EQ(position, duration);
  // Rewound after the end, the graph starts again from 0.
  ASSERT_TRUE(graph->Stop());
  ASSERT_TRUE(graph->PutCurrentPosition(0));
  ASSERT_TRUE(graph->CurrentPosition(position));
  EXPECT_EQ(position, 0.0);
}

}  // namespace
}  // namespace kestrafon
