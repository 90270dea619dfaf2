// Launches of the program that reach the running player: what they carry,
// and how launches made together (Explorer's "Open" on a selection starts
// one process per file) are opened as one command line would be.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/start_player.h"
#include "control/launch.h"
#include "control/open_files.h"
#include "fakes/test_app.h"

namespace kestrafon {
namespace {

using namespace std::string_literals;
using ::testing::ElementsAre;
using Why = SkippedFile::Why;

TEST(Launch, CarriesEverythingAndRefusesWhatIsNotOne) {
  const Launch full{0x0102030405060708, true, {"C:\\音楽\\a.mp3", "D:\\b.kfl"}, {{"gone.mp3", Why::Missing},
                                                                             {"dir", Why::NotAFile},
                                                                             {"locked.mp3", Why::Unreadable}}};
  for (const Launch& launch : {full, Launch{}}) EXPECT_EQ(DecodeLaunch(EncodeLaunch(launch)), launch);

  const std::string good = EncodeLaunch(full);
  const std::string header = good.substr(0, 12);
  for (const std::string& bad : {""s, "KL2"s, good.substr(0, good.size() - 1), "XL2" + good.substr(3),
                                 header + "F\0"s, header + "Q" + "a.mp3\0"s, header + "F\xFF\xFE.mp3\0"s,
                                 good.substr(0, 11) + "\x02"s}) {
    EXPECT_EQ(DecodeLaunch(bad), std::nullopt) << bad;
  }
}

TEST(Launch, ThoseMadeTogetherOpenInTheOrderTheyWereStarted) {
  const auto play = [](std::uint64_t at, std::string file) { return Launch{at, false, {std::move(file)}, {}}; };
  // Explorer's five processes, arriving last first; two started in one instant.
  EXPECT_THAT(OrderLaunches({play(50, "a5"), play(40, "a4"), play(30, "a3"), play(20, "a2"), play(20, "a1")}),
              ElementsAre(Launch{20, false, {"a1", "a2", "a3", "a4", "a5"}, {}}));
  // Adding and playing launches stay apart, each in its place.
  const Launch add{15, true, {"q"}, {{"gone", Why::Missing}}};
  EXPECT_THAT(OrderLaunches({play(30, "b"), add, play(10, "a")}),
              ElementsAre(play(10, "a"), add, play(30, "b")));
}

TEST(Launch, ASelectionBecomesOneListWithItsFirstFilePlayingAndItsLeftOutFilesNamedOnce) {
  fakes::TestApp app;
  for (const char* path : {"/m/a1.mp3", "/m/a2.mp3", "/m/a3.mp3"}) app.media.files[path] = {60};
  PlayerWindowCommands windows(app.ctx);
  StartPlayer(app.ctx, windows, {});
  OpenLaunches(app.ctx.control(), windows, app.desktop.Dialogs(), app.ctx.texts(),
               OrderLaunches({{3, false, {"/m/a3.mp3"}, {{"x.mp3", Why::Missing}}},
                              {1, false, {"/m/a1.mp3"}, {}},
                              {2, false, {"/m/a2.mp3"}, {{"y.mp3", Why::Missing}}}}));
  EXPECT_EQ(app.ctx.tracks().Count(), 3);
  EXPECT_EQ(app.media.last().path, "/m/a1.mp3");
  ASSERT_EQ(app.desktop.messages.size(), 1u);
  EXPECT_EQ(app.desktop.messages[0].text, SkippedMessage(JapaneseTexts(), {{"y.mp3", Why::Missing}, {"x.mp3", Why::Missing}}));

  // A later launch whose files are all missing: the player comes to the
  // front and says so.
  app.desktop.player.visible = false;
  OpenLaunches(app.ctx.control(), windows, app.desktop.Dialogs(), app.ctx.texts(), {{4, false, {}, {{"z.mp3", Why::Missing}}}});
  EXPECT_TRUE(app.desktop.player.visible);
  ASSERT_EQ(app.desktop.messages.size(), 2u);
  EXPECT_EQ(app.desktop.messages[1].text, SkippedMessage(JapaneseTexts(), {{"z.mp3", Why::Missing}}));
}

}  // namespace
}  // namespace kestrafon
