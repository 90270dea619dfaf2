// The media framework that starts on first use.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "seam/lazy_media_framework.h"

namespace {

using kestrafon::fakes::FakeMediaFramework;
using kestrafon::platform::LazyMediaFramework;
using kestrafon::platform::MediaFramework;

TEST(LazyMediaFramework, StartsTheRealOneOnlyWithTheFirstGraphAndOnce) {
  int made = 0;
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

  auto first = lazy.CreateGraph();
  auto second = lazy.CreateGraph();
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
  LazyMediaFramework lazy([&]() -> std::unique_ptr<MediaFramework> {
    ++made;
    return nullptr;
  });
  EXPECT_EQ(lazy.CreateGraph(), nullptr);
  EXPECT_EQ(lazy.CreateGraph(), nullptr);
  EXPECT_EQ(made, 1);
  EXPECT_EQ(LazyMediaFramework(nullptr).CreateGraph(), nullptr);
}

}  // namespace
