// The start-up both programs share: the ways in it wires, the order of
// loading and showing, the files it was given and those it was not.
#include <gtest/gtest.h>

#include "app/start_player.h"
#include "fakes/test_app.h"

namespace kestrafon {
namespace {

using fakes::TestApp;
using seam::MediaKey;

TEST(StartPlayer, ShowsThePlayerPlaysTheFirstFileAndNamesTheFilesLeftOut) {
  TestApp app;
  app.media.files["/m/a.mp3"] = {60};
  app.media.files["/m/b.mp3"] = {60};
  PlayerWindowCommands windows(app.ctx);
  StartPlayer(app.ctx, windows, {{"/m/a.mp3", "/m/b.mp3"}, {{"gone.mp3", SkippedFile::Why::Missing}}, false, false});

  EXPECT_TRUE(app.desktop.player.visible);
  EXPECT_EQ(app.ctx.tracks().Count(), 2);
  EXPECT_EQ(app.media.last().path, "/m/a.mp3");
  EXPECT_TRUE(app.media.last().running);
  ASSERT_EQ(app.desktop.messages.size(), 1u);
  EXPECT_EQ(app.desktop.messages[0].text, SkippedMessage(JapaneseTexts(), {{"gone.mp3", SkippedFile::Why::Missing}}));
  EXPECT_FALSE(app.desktop.onFirstPaint) << "no trace unless asked";
}

TEST(StartPlayer, DropsAddWithoutPlayingAndMediaKeysRunTheirCommands) {
  TestApp app;
  app.media.files["/m/a.mp3"] = {60};
  PlayerWindowCommands windows(app.ctx);
  StartPlayer(app.ctx, windows, {});
  ASSERT_TRUE(app.desktop.onFilesDropped && app.desktop.onMediaKey);

  app.desktop.onFilesDropped({"/m/a.mp3"});
  EXPECT_EQ(app.ctx.tracks().Count(), 1);
  EXPECT_EQ(app.ctx.control().State(), PlaybackState::Stopped);
  app.desktop.onMediaKey(MediaKey::PlayPause);
  EXPECT_EQ(app.ctx.control().State(), PlaybackState::Playing);
  app.desktop.onMediaKey(MediaKey::PlayPause);
  EXPECT_EQ(app.ctx.control().State(), PlaybackState::Paused);
  app.desktop.onMediaKey(MediaKey::Stop);
  EXPECT_EQ(app.ctx.control().State(), PlaybackState::Stopped);
  EXPECT_TRUE(app.desktop.messages.empty());
}

TEST(StartPlayer, EnqueuedFilesAreAddedAndNothingPlays) {
  TestApp app;
  app.media.files["/m/a.mp3"] = {60};
  PlayerWindowCommands windows(app.ctx);
  StartPlayer(app.ctx, windows, {{"/m/a.mp3"}, {}, true, false});
  EXPECT_EQ(app.ctx.tracks().Count(), 1);
  EXPECT_TRUE(app.media.graphs.empty());
  EXPECT_EQ(app.ctx.control().State(), PlaybackState::Stopped);
}

}  // namespace
}  // namespace kestrafon
