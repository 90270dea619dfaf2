// The desktop's media controls on the control surface: which command each
// method runs, what the Can* properties say in each state, and which
// properties a change announces.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control/file_uri.h"
#include "control/mpris_player.h"
#include "control/open_files.h"
#include "fakes/scripted_player_control.h"

namespace kestrafon::mpris {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct CountingWindows : WindowCommands {
  int quits = 0, raises = 0, rowPaints = 0;
  void Quit() override { ++quits; }
  void Raise() override { ++raises; }
  void PaintRows() override { ++rowPaints; }
};

struct RecordingSink : PropertiesSink {
  std::vector<std::vector<Property>> signals;
  Snapshot last;
  void PropertiesChanged(const Snapshot& now, const std::vector<Property>& changed) override {
    signals.push_back(changed);
    last = now;
  }
};

struct MprisTest : ::testing::Test {
  fakes::ScriptedPlayerControl control;
  CountingWindows windows;
  RecordingSink sink;
  MprisPlayer mpris{control, windows};

  void SetUp() override {
    control.entries = {"/music/one.mp3", "/music/two.mp3", "/music/three.mp3"};
    mpris.SetSink(&sink);
  }
  void PlayingEntry(std::int32_t n) {
    control.current = n;
    control.state = PlaybackState::Playing;
    control.duration = 12.5;
    mpris.OnControlChanged();
    control.calls.clear();
    sink.signals.clear();
  }
};

TEST_F(MprisTest, TransportMethodsRunTheFaceCommands) {
  mpris.Play();  // stopped: play
  EXPECT_THAT(control.calls, ElementsAre("Play"));
  control.calls.clear();
  mpris.Play();  // playing: nothing to do
  EXPECT_THAT(control.calls, IsEmpty());
  mpris.Pause();
  mpris.Pause();  // already paused: the toggle would resume, so nothing
  EXPECT_THAT(control.calls, ElementsAre("Pause"));
  EXPECT_EQ(control.state, PlaybackState::Paused);
  mpris.Play();  // paused: the toggle resumes
  EXPECT_EQ(control.state, PlaybackState::Playing);
  mpris.Next();
  mpris.Previous();
  mpris.Stop();
  EXPECT_THAT(control.calls, ElementsAre("Pause", "Pause", "Next", "Previous", "Stop"));
  EXPECT_EQ(control.state, PlaybackState::Stopped);
  EXPECT_EQ(windows.quits + windows.raises, 0);
  mpris.Raise();
  mpris.Quit();
  EXPECT_EQ(windows.raises, 1);
  EXPECT_EQ(windows.quits, 1);
}

TEST_F(MprisTest, PlayPauseFollowsTheStateAndPauseGetsPastTheInvertedToggle) {
  mpris.PlayPause();
  EXPECT_EQ(control.state, PlaybackState::Playing);
  control.pauseNeedsTwoPresses = true;
  mpris.PlayPause();
  EXPECT_EQ(control.state, PlaybackState::Paused);
  EXPECT_THAT(control.calls, ElementsAre("Play", "Pause", "Pause"));
  mpris.PlayPause();
  EXPECT_EQ(control.state, PlaybackState::Playing);
}

TEST_F(MprisTest, RefusedCommandsChangeNothingAndAnnounceNothing) {
  control.entries.clear();
  mpris.OnControlChanged();
  sink.signals.clear();
  for (auto method : {&MprisPlayer::Play, &MprisPlayer::Pause, &MprisPlayer::Stop, &MprisPlayer::Next,
                      &MprisPlayer::Previous}) {
    (mpris.*method)();
  }
  EXPECT_EQ(control.state, PlaybackState::Stopped);
  EXPECT_THAT(sink.signals, IsEmpty());
}

TEST_F(MprisTest, CanPropertiesSayWhatTheFaceAcceptsInEachState) {
  Snapshot s = mpris.Now();
  EXPECT_TRUE(s.canPlay);
  EXPECT_FALSE(s.canPause || s.canGoNext || s.canGoPrevious);
  EXPECT_EQ(s.playbackStatus, "Stopped");

  PlayingEntry(1);
  s = mpris.Now();
  EXPECT_EQ(s.playbackStatus, "Playing");
  EXPECT_TRUE(s.canPause && s.canGoNext && s.canPlay);
  EXPECT_FALSE(s.canGoPrevious);

  PlayingEntry(3);
  s = mpris.Now();
  EXPECT_TRUE(s.canGoPrevious);
  EXPECT_FALSE(s.canGoNext);

  mpris.Pause();
  s = mpris.Now();
  EXPECT_EQ(s.playbackStatus, "Paused");
  EXPECT_TRUE(s.canPlay);
  EXPECT_FALSE(s.canPause);

  control.entries.clear();
  control.state = PlaybackState::Stopped;
  s = mpris.Now();
  EXPECT_FALSE(s.canPlay || s.canPause || s.canGoNext || s.canGoPrevious);
  EXPECT_EQ(s.metadata.trackId, kNoTrack);
  EXPECT_TRUE(s.metadata.url.empty());
}

TEST_F(MprisTest, MetadataNamesTheCurrentTrackAsTheFaceShowsIt) {
  control.entries[1] = "/music/a b/Zoë's #2.mp3";
  PlayingEntry(2);
  const Metadata m = mpris.Now().metadata;
  EXPECT_EQ(m.trackId, "/org/kestrafon/track/2");
  EXPECT_EQ(m.lengthUs, 12'500'000);
  EXPECT_EQ(m.title, "Zoë's #2.mp3");
  EXPECT_EQ(m.url, "file:///music/a%20b/Zo%C3%AB%27s%20%232.mp3");
  EXPECT_EQ(LocalPathFromFileUri(m.url), control.entries[1]);
  EXPECT_EQ(DisplayName("C:\\old\\list\\song.mp3"), "song.mp3");
}

TEST_F(MprisTest, ChangesAnnounceExactlyWhatDifferedAndATickAnnouncesNothing) {
  mpris.Play();
  ASSERT_EQ(sink.signals.size(), 1u);
  EXPECT_THAT(sink.signals[0], ElementsAre(Property::PlaybackStatus, Property::Metadata, Property::CanGoNext,
                                           Property::CanPause));
  EXPECT_EQ(sink.last.metadata.lengthUs, 12'500'000);

  // The position moves on every tick; nothing a client is told about does.
  for (int i = 0; i < 10; ++i) {
    control.Tick();
    mpris.OnControlChanged();
  }
  EXPECT_EQ(sink.signals.size(), 1u);
  EXPECT_EQ(mpris.PositionUs(), 1'000'000);

  mpris.Next();
  ASSERT_EQ(sink.signals.size(), 2u);
  EXPECT_THAT(sink.signals[1], ElementsAre(Property::Metadata, Property::CanGoPrevious));

  mpris.SetVolume(0.5);
  ASSERT_EQ(sink.signals.size(), 3u);
  EXPECT_THAT(sink.signals[2], ElementsAre(Property::Volume));
}

TEST_F(MprisTest, VolumeMovesTheKnobAcrossItsWholeTravel) {
  for (double volume : {0.0, 1.0, 0.5, 7.0, -1.0}) mpris.SetVolume(volume);
  EXPECT_THAT(control.calls, ElementsAre("SetKnobVolume 206", "SetKnobVolume 282", "SetKnobVolume 244",
                                         "SetKnobVolume 282", "SetKnobVolume 206"));
  control.knob = 263;
  EXPECT_DOUBLE_EQ(mpris.Now().volume, 0.75);
}

TEST_F(MprisTest, OpenUriAddsLikeAddAndPlaysTheFirstAddedEntry) {
  EXPECT_TRUE(mpris.OpenUri("file:///new/set%201.kfl"));
  EXPECT_THAT(control.calls, ElementsAre("AddSelection /new/set 1.kfl", "PlayEntry 4"));
  EXPECT_EQ(windows.rowPaints, 1);
  control.calls.clear();
  EXPECT_FALSE(mpris.OpenUri("http://example.org/a.mp3"));
  EXPECT_FALSE(mpris.OpenUri("file://elsewhere/a.mp3"));
  EXPECT_FALSE(mpris.OpenUri("file:///bad%2"));
  EXPECT_THAT(control.calls, IsEmpty());
}

TEST_F(MprisTest, FilesFromOneFolderGoInAsOneMultipleSelectionInOrder) {
  mpris.OpenFiles({"/a/x.mp3", "/a/y.kfl", "/b/z.mp3", "/a/w.mp3"});
  EXPECT_THAT(control.calls,
              ElementsAre("AddSelection /a/|x.mp3|y.kfl", "AddSelection /b/z.mp3", "AddSelection /a/w.mp3",
                          "PlayEntry 4"));
  EXPECT_EQ(control.entries.size(), 7u);
  EXPECT_EQ(control.entries[3], "/a/x.mp3");
  control.calls.clear();
  // Nothing added: nothing to play.
  EXPECT_FALSE(AddFilesAndPlay(control, windows, {}));
  EXPECT_THAT(control.calls, IsEmpty());
  EXPECT_EQ(windows.rowPaints, 1);
}

}  // namespace
}  // namespace kestrafon::mpris
