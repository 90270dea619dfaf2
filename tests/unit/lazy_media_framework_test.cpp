// The media framework that starts on first use.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/recorded_events.h"
#include "seam/lazy_media_framework.h"

namespace {

using kestrafon::fakes::RecordedEvents;
using kestrafon::fakes::FakeMediaFramework;
using kestrafon::seam::LazyMediaFramework;
using kestrafon::seam::MediaFramework;

TEST(LazyMediaFramework, StartsTheRealOneOnlyWithTheFirstGraphAndOnce) {
  int made = 0;
  RecordedEvents events;
  FakeMediaFramework* real = nullptr;
  LazyMediaFramework lazy([&]() -> std::unique_ptr<MediaFramework> {
    ++made;
    auto framework = std::make_unique<FakeMediaFramework>();
    framework->files["a.mp3"] = {3.0};
    real = framework.get();
    return framework;
  });
  EXPECT_EQ(made, 0);
  EXPECT_FALSE(lazy.Started());

  auto first = lazy.CreateGraph(events);
  auto second = lazy.CreateGraph(events);
  EXPECT_EQ(made, 1);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  // The graphs are the real framework's.
  EXPECT_TRUE(first->RenderFile("a.mp3"));
  EXPECT_FALSE(second->RenderFile("missing.mp3"));
  ASSERT_NE(real, nullptr);
}

TEST(LazyMediaFramework, AFrameworkThatCannotStartGivesNoGraphsAndIsNotRetried) {
  int made = 0;
  RecordedEvents events;
  LazyMediaFramework lazy([&]() -> std::unique_ptr<MediaFramework> {
    ++made;
    return nullptr;
  });
  EXPECT_EQ(lazy.CreateGraph(events), nullptr);
  EXPECT_EQ(lazy.CreateGraph(events), nullptr);
  EXPECT_EQ(made, 1);
  EXPECT_EQ(LazyMediaFramework(nullptr).CreateGraph(events), nullptr);
}

}  // namespace
