#pragma once
// What every window backend's FormHost does, checked against the real window
// system: the same cases for Qt and for Win32. A backend instantiates the
// suite with a type that knows how to make its window and speak to it:
//
//   using Host = ...;                        // the FormHost of the backend
//   static std::unique_ptr<Host> Make();     // a hidden player-sized window
//   static std::uint32_t Shown(Host&, int x, int y);  // a presented pixel
//   static bool InOutline(Host&, int x, int y);
//   static bool TopMost(Host&);
//   static bool Minimised(Host&);
//   static std::string Title(Host&);
//   static void Press(Host&, int button, int x, int y);    // a native press,
//   static void Move(Host&, int buttons, int x, int y);    // move and release
//   static void Release(Host&, int button, int x, int y);  // (seam::kLeftButton ...)
//   static void KeyDown(Host&, int nativeKey);
//   static const std::vector<std::pair<int, seam::Key>> kKeys;  // native key, core key
//   static void RequestClose(Host&);         // as the system's close would
//   static void Settle();                    // lets queued window events run
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fakes/recording_form_sink.h"
#include "seam/form_host.h"

namespace kestrafon::contracts {

template <class Backend>
class FormHostContract : public ::testing::Test {
 protected:
  FormHostContract() : host(Backend::Make()) { host->SetEventSink(&sink); }
  ~FormHostContract() override { host->SetEventSink(nullptr); }
  bool Heard(const std::string& event) const {
    return std::find(sink.events.begin(), sink.events.end(), event) != sink.events.end();
  }

  std::unique_ptr<typename Backend::Host> host;
  fakes::RecordingFormSink sink;
};

TYPED_TEST_SUITE_P(FormHostContract);

TYPED_TEST_P(FormHostContract, IsAWindowNamedForm1OfTheFaceSize) {
  auto& host = *this->host;
  EXPECT_FALSE(host.IsVisible());
  host.SetVisible(true);
  TypeParam::Settle();
  EXPECT_TRUE(host.IsVisible());
  EXPECT_EQ(TypeParam::Title(host), "Form1");
  EXPECT_EQ(host.OuterSize(), (seam::Point{303, 202}));
  EXPECT_TRUE(this->Heard("resize")) << "showing counts as a resize";
}

TYPED_TEST_P(FormHostContract, PresentCopiesOnlyTheDirtyRectangleAndClipsTheRest) {
  auto& host = *this->host;
  const Image before(303, 202, 0xFF112233u);
  host.Present(before, {0, 0, 303, 202});
  const Image after(303, 202, 0xFFAABBCCu);
  host.Present(after, {10, 20, 5, 4});
  EXPECT_EQ(TypeParam::Shown(host, 10, 20), 0xFFAABBCCu);
  EXPECT_EQ(TypeParam::Shown(host, 14, 23), 0xFFAABBCCu);
  for (auto [x, y] : {std::pair{15, 23}, {10, 24}, {9, 20}, {10, 19}})
    EXPECT_EQ(TypeParam::Shown(host, x, y), 0xFF112233u) << x << "," << y;

  // A rectangle reaching past the window, or a smaller face, is clipped.
  host.Present(after, {300, 199, 50, 50});
  EXPECT_EQ(TypeParam::Shown(host, 302, 201), 0xFFAABBCCu);
  host.Present(Image(10, 10, 0xFFFFFFFFu), {0, 0, 303, 202});
  EXPECT_EQ(TypeParam::Shown(host, 9, 9), 0xFFFFFFFFu);
  EXPECT_EQ(TypeParam::Shown(host, 10, 10), 0xFF112233u);
  host.Present(after, {-5, -5, 0, 0});  // nothing at all
}

TYPED_TEST_P(FormHostContract, TheOutlineCutsTheCornersOnly) {
  auto& host = *this->host;
  host.SetRoundedRegion(303, 202, 20, 20);
  for (auto [x, y] : {std::pair{0, 0}, {302, 0}, {0, 201}, {302, 201}})
    EXPECT_FALSE(TypeParam::InOutline(host, x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{10, 10}, {150, 0}, {0, 100}, {151, 101}, {292, 191}})
    EXPECT_TRUE(TypeParam::InOutline(host, x, y)) << x << "," << y;
}

TYPED_TEST_P(FormHostContract, MouseKeysAndCloseRequestsReachTheCoreInFacePixels) {
  auto& host = *this->host;
  using seam::kLeftButton, seam::kRightButton, seam::kMiddleButton;
  TypeParam::Press(host, kLeftButton, 149, 162);
  TypeParam::Move(host, kLeftButton | kMiddleButton, 150, 163);
  TypeParam::Release(host, kLeftButton, 151, 164);
  TypeParam::Press(host, kRightButton, 5, 6);
  std::vector<std::string> expected{"down 1 149,162", "move 5 150,163", "up 1 151,164", "down 2 5,6"};
  for (const auto& [native, key] : TypeParam::kKeys) {
    TypeParam::KeyDown(host, native);
    expected.push_back("key " + std::to_string(int(key)));
  }
  TypeParam::RequestClose(host);
  expected.push_back("close");
  EXPECT_EQ(this->sink.events, expected);
  // Closing is the core's decision: the window stays.
  host.SetVisible(true);
  TypeParam::Settle();
  EXPECT_TRUE(host.IsVisible());

  // Without a sink nothing is reported.
  host.SetEventSink(nullptr);
  const std::size_t heard = this->sink.events.size();
  TypeParam::Press(host, kLeftButton, 1, 1);
  EXPECT_EQ(this->sink.events.size(), heard);
}

TYPED_TEST_P(FormHostContract, MovesStaysOnTopAndMinimises) {
  auto& host = *this->host;
  host.SetVisible(true);
  host.Move({40, 50});
  TypeParam::Settle();
  EXPECT_EQ(host.Position(), (seam::Point{40, 50}));

  host.SetVisible(false);
  host.SetTopMost(true);  // also shows a hidden window
  EXPECT_TRUE(host.IsVisible());
  EXPECT_TRUE(TypeParam::TopMost(host));
  host.SetTopMost(false);
  EXPECT_FALSE(TypeParam::TopMost(host));
  EXPECT_TRUE(host.IsVisible());

  host.SetWindowState(seam::WindowState::Minimised);
  TypeParam::Settle();
  EXPECT_TRUE(TypeParam::Minimised(host));
  host.SetVisible(false);  // into the tray
  EXPECT_EQ(host.Position(), (seam::Point{40, 50})) << "where it comes back, not where its icon went";
  EXPECT_EQ(host.OuterSize(), (seam::Point{303, 202}));
  host.SetVisible(true);
  host.SetWindowState(seam::WindowState::Normal);
  TypeParam::Settle();
  EXPECT_FALSE(TypeParam::Minimised(host));
  EXPECT_TRUE(host.IsVisible());
}

REGISTER_TYPED_TEST_SUITE_P(FormHostContract, IsAWindowNamedForm1OfTheFaceSize,
                            PresentCopiesOnlyTheDirtyRectangleAndClipsTheRest, TheOutlineCutsTheCornersOnly,
                            MouseKeysAndCloseRequestsReachTheCoreInFacePixels, MovesStaysOnTopAndMinimises);

}  // namespace kestrafon::contracts
