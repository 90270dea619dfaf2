// A graph that is gone leaves nothing behind: no descriptors, no threads.
#include <dirent.h>

#include <gtest/gtest.h>

#include <string>

#include "fakes/recorded_events.h"
#include "fixtures/mp3_fixtures.h"
#include "platform/gstreamer/gst_media.h"

namespace kestrafon {
namespace {

int OpenDescriptors() {
  int n = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (const dirent* e = ::readdir(d)) n += e->d_name[0] != '.';
    ::closedir(d);
  }
  return n;
}

TEST(GraphRelease, ManyOpenedAndPlayedGraphsLeaveNoDescriptorsBehind) {
  fixtures::TempDir dir;
  const std::string track = dir.File("t.mp3");
  ASSERT_TRUE(fixtures::MakeMp3(track, 0.5));
  platform::gst::GstMediaFramework framework(platform::gst::AudioOutput::kSilentUnpaced);
  const auto playOnce = [&] {
    fakes::RecordedEvents events;
    auto graph = framework.CreateGraph(events);
    ASSERT_TRUE(graph->RenderFile(track));
    ASSERT_TRUE(graph->Run());
    double duration = 0, position = -1;
    ASSERT_TRUE(graph->Duration(duration));
    for (int i = 0; i < 2000 && graph->CurrentPosition(position) && position != duration; ++i) {
      g_main_context_iteration(nullptr, FALSE);  // where the end of the stream is heard
      g_usleep(1000);
    }
    EXPECT_TRUE(graph->PutCurrentPosition(0));
  };
  playOnce();  // the framework's own one-time set-up
  const int before = OpenDescriptors();
  for (int i = 0; i < 20; ++i) playOnce();
  // Pipelines stop on threads of their own: give the last ones time to.
  for (int i = 0; i < 500 && OpenDescriptors() != before; ++i) g_usleep(10000);
  EXPECT_EQ(OpenDescriptors(), before);
}

}  // namespace
}  // namespace kestrafon
