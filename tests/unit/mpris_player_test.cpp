// The desktop's media controls on a whole player: what each method does to
// the track, what the Can* properties say in each state, and which
// properties a change announces.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "control/file_uri.h"
#include "control/mpris_player.h"
#include "control/open_files.h"
#include "unit/player_face_checks.h"

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
  void PropertiesChanged(const Snapshot&, const std::vector<Property>& changed) override { signals.push_back(changed); }
};

constexpr const char* kOddName = "/music/a b/Zoë's #2.mp3";

struct MprisTest : ::testing::Test {
  fakes::TestApp app;
  facecheck::Driver drive{app};
  ControlSurface& control = app.ctx.control();
  CountingWindows windows;
  RecordingSink sink;
  MprisPlayer mpris{control, windows};

  void SetUp() override {
    app.Start();
    app.AddTracks({{"/music/one.mp3", 12.5}, {kOddName, 30}, {"/music/three.mp3", 60}});
    mpris.SetSink(&sink);
  }
  fakes::FakeGraphState* Live() { return drive.Live(); }
};

TEST_F(MprisTest, TransportMethodsDriveTheTrackAsTheFaceWould) {
  mpris.Play();  // stopped: play
  ASSERT_NE(Live(), nullptr);
  EXPECT_EQ(Live()->path, "/music/one.mp3");
  mpris.Play();  // playing: nothing to do
  EXPECT_EQ(app.media.graphs.size(), 1u);
  mpris.Pause();
  mpris.Pause();  // already paused: the toggle would resume, so nothing
  EXPECT_TRUE(Live()->paused);
  mpris.Play();  // paused: the toggle resumes
  EXPECT_TRUE(Live()->running);
  mpris.Next();
  EXPECT_EQ(Live()->path, kOddName);
  mpris.Previous();
  EXPECT_EQ(Live()->path, "/music/one.mp3");
  mpris.Stop();
  EXPECT_TRUE(Live()->stopped);
  EXPECT_EQ(control.State(), PlaybackState::Stopped);
  EXPECT_EQ(windows.quits + windows.raises, 0);
  mpris.Raise();
  mpris.Quit();
  EXPECT_EQ(windows.raises, 1);
  EXPECT_EQ(windows.quits, 1);
}

TEST_F(MprisTest, PlayPauseFollowsTheStateAndPauseGetsPastTheInvertedToggle) {
  mpris.PlayPause();
  EXPECT_TRUE(Live()->running);
  // Stopped while paused, the face's pause toggle stays flipped: its next
  // press resumes instead of pausing.
  control.Pause();
  control.Stop();
  control.Play();
  mpris.PlayPause();
  EXPECT_TRUE(Live()->paused);
  EXPECT_EQ(control.State(), PlaybackState::Paused);
  mpris.PlayPause();
  EXPECT_TRUE(Live()->running);
}

TEST_F(MprisTest, OnAnEmptyListEveryCommandIsRefusedAndNothingAnnounced) {
  app.ctx.tracks().Resize(0);
  mpris.OnControlChanged();
  sink.signals.clear();
  const Snapshot s = mpris.Now();
  EXPECT_FALSE(s.canPlay || s.canPause || s.canGoNext || s.canGoPrevious);
  EXPECT_EQ(s.metadata.trackId, kNoTrack);
  EXPECT_TRUE(s.metadata.url.empty());
  for (auto method : {&MprisPlayer::Play, &MprisPlayer::Pause, &MprisPlayer::PlayPause, &MprisPlayer::Stop,
                      &MprisPlayer::Next, &MprisPlayer::Previous}) {
    (mpris.*method)();
  }
  EXPECT_TRUE(app.media.graphs.empty());
  EXPECT_THAT(sink.signals, IsEmpty());
}

// Next, Previous and Pause follow the face's own rules (tested there); a
// paused player can play, and a stopped one cannot pause.
TEST_F(MprisTest, PausedCanPlayAndStoppedCannotPause) {
  EXPECT_FALSE(mpris.Now().canPause);
  mpris.Play();
  mpris.Pause();
  const Snapshot s = mpris.Now();
  EXPECT_EQ(s.playbackStatus, "Paused");
  EXPECT_TRUE(s.canPlay);
  EXPECT_FALSE(s.canPause);
}

TEST_F(MprisTest, MetadataNamesTheCurrentTrackAsTheFaceShowsIt) {
  control.PlayEntry(2);
  const Metadata m = mpris.Now().metadata;
  EXPECT_EQ(m.trackId, "/org/kestrafon/track/2");
  EXPECT_EQ(m.lengthUs, 30'000'000);
  EXPECT_EQ(m.title, "Zoë's #2.mp3");
  EXPECT_EQ(m.url, "file:///music/a%20b/Zo%C3%AB%27s%20%232.mp3");
  EXPECT_EQ(LocalPathFromFileUri(m.url), kOddName);
}

// Tags name the track where they can; the file name stands in for a missing title.
TEST_F(MprisTest, MetadataTakesTitleArtistAndAlbumFromTheTags) {
  app.media.files["/music/three.mp3"].text = {"Third", "Someone", "Somewhere"};
  app.media.files["/music/one.mp3"].text = {"", "Only Artist", ""};
  const struct {
    int entry;
    const char *title, *artist, *album;
  } cases[] = {
      {3, "Third", "Someone", "Somewhere"},
      {1, "one.mp3", "Only Artist", ""},
      {2, "Zoë's #2.mp3", "", ""},
  };
  for (const auto& c : cases) {
    control.PlayEntry(c.entry);
    const Metadata m = mpris.Now().metadata;
    EXPECT_EQ(std::tie(m.title, m.artist, m.album), std::tie(c.title, c.artist, c.album)) << c.entry;
  }
  // And the text of a file that took over at the end of the one before it.
  app.media.PlayToEnd(*Live());
  app.media.Deliver();
  ASSERT_EQ(control.CurrentEntry(), 3);
  EXPECT_EQ(mpris.Now().metadata.title, "Third");
}

// A file that opens late brings its text late: the desktop hears of it then.
TEST_F(MprisTest, TheTextOfAFileThatOpensLateIsAnnouncedWhenItOpens) {
  app.media.files["/music/three.mp3"].slow = true;
  app.media.files["/music/three.mp3"].text = {"Third", "", ""};
  control.PlayEntry(3);
  EXPECT_EQ(mpris.Now().metadata.title, "three.mp3") << "not yet open";
  sink.signals.clear();
  app.media.Deliver();
  EXPECT_EQ(mpris.Now().metadata.title, "Third");
  ASSERT_FALSE(sink.signals.empty());
  EXPECT_THAT(sink.signals.back(), ::testing::Contains(Property::Metadata));
}

TEST_F(MprisTest, ChangesAnnounceExactlyWhatDifferedAndATickAnnouncesNothing) {
  mpris.Play();
  ASSERT_EQ(sink.signals.size(), 1u);
  EXPECT_THAT(sink.signals[0], ElementsAre(Property::PlaybackStatus, Property::Metadata, Property::CanGoNext,
                                           Property::CanPause));

  // The position moves on every tick; nothing a client is told about does.
  for (double t : {0.5, 1.0, 1.5}) {
    drive.TickAt(t);
    mpris.OnControlChanged();
  }
  EXPECT_EQ(sink.signals.size(), 1u);
  EXPECT_EQ(mpris.PositionUs(), 1'500'000);

  mpris.Next();
  ASSERT_EQ(sink.signals.size(), 2u);
  EXPECT_THAT(sink.signals[1], ElementsAre(Property::Metadata, Property::CanGoPrevious));

  mpris.SetVolume(0.5);
  ASSERT_EQ(sink.signals.size(), 3u);
  EXPECT_THAT(sink.signals[2], ElementsAre(Property::Volume));
}

TEST_F(MprisTest, VolumeIsTheLevelOfTheKnobsWholeTravel) {
  mpris.Play();
  // The level read back, and the volume the graph is given.
  // Nonsense (NaN) changes nothing.
  for (auto [volume, kept, hundredths] : {std::tuple{0.0, 0.0, -6400L}, {1.0, 1.0, -320L}, {0.5, 0.5, -3360L},
                                          {std::nan(""), 0.5, -3360L}, {7.0, 1.0, -320L}, {-1.0, 0.0, -6400L}}) {
    mpris.SetVolume(volume);
    EXPECT_DOUBLE_EQ(mpris.Now().volume, kept) << volume;
    EXPECT_EQ(Live()->volume, hundredths) << volume;
  }
  app.ctx.playerWindow().OnMouseMove(seam::kLeftButton, 263, 115);  // the knob dragged three quarters along
  EXPECT_DOUBLE_EQ(mpris.Now().volume, 0.75);
}

TEST_F(MprisTest, OpenUriAddsLikeAddAndPlaysTheFirstAddedEntry) {
  app.media.files["/new/set 1.mp3"] = {5};
  EXPECT_TRUE(mpris.OpenUri("file:///new/set%201.mp3"));
  EXPECT_EQ(control.EntryCount(), 4);
  ASSERT_NE(Live(), nullptr);
  EXPECT_EQ(Live()->path, "/new/set 1.mp3");
  EXPECT_EQ(control.CurrentEntry(), 4);
  EXPECT_EQ(windows.rowPaints, 1);

  for (const char* refused : {"http://example.org/a.mp3", "file://elsewhere/a.mp3", "file:///bad%2", "file:///dir/"}) {
    EXPECT_FALSE(mpris.OpenUri(refused)) << refused;
  }
  EXPECT_EQ(control.EntryCount(), 4);
  EXPECT_EQ(app.media.graphs.size(), 1u);
}

TEST_F(MprisTest, OpenedFilesGoInInOrderAndTheFirstPlays) {
  app.media.files["/a/x.mp3"] = {5};
  mpris.OpenFiles({"/a/x.mp3", "/a/y.mp3", "/b/z.mp3", "/a/w.mp3"});
  EXPECT_EQ(control.EntryCount(), 7);
  for (auto [n, path] : {std::pair{4, "/a/x.mp3"}, {5, "/a/y.mp3"}, {6, "/b/z.mp3"}, {7, "/a/w.mp3"}}) {
    EXPECT_EQ(app.ctx.tracks().PathAt(n), path);
  }
  ASSERT_NE(Live(), nullptr);
  EXPECT_EQ(Live()->path, "/a/x.mp3");
  // Nothing added: nothing to play.
  EXPECT_FALSE(AddFilesAndPlay(control, windows, {}));
  EXPECT_EQ(app.media.graphs.size(), 1u);
  EXPECT_EQ(windows.rowPaints, 1);

  // Enqueued files join the list behind them and change nothing else.
  mpris.EnqueueFiles({"/c/q.mp3"});
  EXPECT_EQ(app.ctx.tracks().PathAt(8), "/c/q.mp3");
  EXPECT_EQ(app.media.graphs.size(), 1u);
  EXPECT_EQ(control.CurrentEntry(), 4);
  EXPECT_EQ(windows.rowPaints, 2);
}

}  // namespace
}  // namespace kestrafon::mpris
