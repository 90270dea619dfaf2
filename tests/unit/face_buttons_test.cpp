// The face buttons: presses, releases and the commands behind them, on a
// whole player built on fakes.
#include <gtest/gtest.h>

#include "player_face_checks.h"

namespace kestrafon {
namespace {

using namespace facecheck;
using fakes::TestApp;
using skin::Sprite;

class FaceButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    app.desktop.player.visible = true;  // the program shows the player once it has loaded
    app.Start();
  }
  void AddThree() { app.AddTracks({{"/m/a.mp3", 200.5}, {"C:\\m\\b.mp3", 60.3}, {"/m/c.mp3", 90}}); }
  // A complete click on Play with the three tracks in the list.
  void PlayThree() {
    AddThree();
    d.Click(kPlay);
    ASSERT_TRUE(d.tracks().IsPlaying());
  }

  TestApp app;
  Driver d{app};
};

// ---- Play ----------------------------------------------------------------

TEST_F(FaceButtons, PlayIsRefusedWithAnEmptyList) {
  d.Press(kPlay);
  EXPECT_FALSE(d.pressed().play);
  EXPECT_TRUE(Shows(d.face(), skin::kTransportRowReleased));
  EXPECT_EQ(app.desktop.pendingEventRuns, 0);
  d.Release(kPlay);
  EXPECT_FALSE(d.tracks().IsPlaying());
  EXPECT_TRUE(app.media.graphs.empty());
  EXPECT_EQ(app.desktop.armedInterval, 0);
}

TEST_F(FaceButtons, PlayStartsTheCurrentTrackAndStaysDown) {
  AddThree();
  d.tracks().SetCurrentEntry(2);
  d.Press(kPlay);
  EXPECT_TRUE(d.pressed().play);
  EXPECT_TRUE(Shows(d.face(), skin::kPlayPressed));
  d.Release(kPlay);

  EXPECT_FALSE(d.pressed().play);
  EXPECT_TRUE(d.tracks().IsPlaying());
  ASSERT_NE(d.Live(), nullptr);
  EXPECT_EQ(d.Live()->path, "C:\\m\\b.mp3");
  EXPECT_TRUE(d.Live()->running);
  EXPECT_EQ(app.desktop.armedInterval, 100);
  // The file name alone, at (10, 10) of the title panel.
  auto titles = d.DrawnOn(app.ctx.playerWindow().titlePanel());
  ASSERT_EQ(titles.size(), 1u);
  EXPECT_EQ(titles[0].text, "b.mp3");
  EXPECT_EQ(titles[0].x, 10);
  EXPECT_EQ(titles[0].y, 10);
  // The button is a lamp while playing, and what the window shows agrees.
  EXPECT_TRUE(Shows(d.face(), skin::kPlayPressed));
  EXPECT_TRUE(Shows(app.desktop.player.presented, skin::kPlayPressed));
}

TEST_F(FaceButtons, PlayIsRefusedWhilePlaying) {
  PlayThree();
  const std::size_t graphs = app.media.graphs.size();
  d.Press(kPlay);
  EXPECT_FALSE(d.pressed().play);
  d.Release(kPlay);
  EXPECT_EQ(app.media.graphs.size(), graphs);
}

TEST_F(FaceButtons, PlayPressedAndReleasedOverStopWaitsForItsOwnRelease) {
  AddThree();
  d.Press(kPlay);
  d.Release(kStop);  // the stop flag is down: nothing runs
  EXPECT_TRUE(d.pressed().play);
  EXPECT_TRUE(Shows(d.face(), skin::kPlayPressed));
  EXPECT_FALSE(d.tracks().IsPlaying());
  EXPECT_TRUE(app.media.graphs.empty());

  d.Release(kPlay);  // a later release over Play still starts playback
  EXPECT_TRUE(d.tracks().IsPlaying());
  EXPECT_FALSE(d.pressed().play);
}

TEST_F(FaceButtons, PlayPressedAndReleasedOutsideTheRowIsUndone) {
  AddThree();
  d.Press(kPlay);
  d.Release({150, 100});
  EXPECT_FALSE(d.pressed().play);
  EXPECT_TRUE(Shows(d.face(), skin::kPlayReleased));
  EXPECT_FALSE(d.tracks().IsPlaying());
}

TEST_F(FaceButtons, TransportBoundsAreInclusiveAndTheRowIsChecked) {
  AddThree();
  d.Press({136, 153});  // top-left corner of play
  EXPECT_TRUE(d.pressed().play);
  d.Release({150, 100});
  d.Press({162, 172});  // bottom-right corner
  EXPECT_TRUE(d.pressed().play);
  d.Release({150, 100});
  // In the column but above or below the row: swallowed, no drag either.
  d.Press({150, 152.5});
  d.Press({150, 172.5});
  EXPECT_FALSE(d.pressed().play);
  EXPECT_EQ(app.desktop.player.drags, 0);
}

// ---- Pause ---------------------------------------------------------------

TEST_F(FaceButtons, PauseClicksPauseAndResume) {
  PlayThree();
  d.Click(kPause);
  EXPECT_TRUE(d.tracks().PauseToggled());
  EXPECT_TRUE(d.Live()->paused);
  EXPECT_TRUE(Shows(d.face(), skin::kPausePressed));  // down while paused
  EXPECT_FALSE(d.pressed().pause);

  d.Click(kPause);
  EXPECT_FALSE(d.tracks().PauseToggled());
  EXPECT_TRUE(d.Live()->running);
  EXPECT_TRUE(Shows(d.face(), skin::kPauseReleased));
}

TEST_F(FaceButtons, PauseReleasedOutsideLeavesThePauseStateInverted) {
  PlayThree();
  d.Press(kPause);
  EXPECT_TRUE(d.tracks().PauseToggled());  // inverted on press
  d.Release({110, 100});
  EXPECT_FALSE(d.pressed().pause);
  EXPECT_TRUE(Shows(d.face(), skin::kPauseReleased));
  EXPECT_TRUE(d.tracks().PauseToggled());
  EXPECT_TRUE(d.Live()->running);

  // The next full click inverts it back and resumes: nothing visible.
  d.Click(kPause);
  EXPECT_FALSE(d.tracks().PauseToggled());
  EXPECT_TRUE(d.Live()->running);
  EXPECT_TRUE(Shows(d.face(), skin::kPauseReleased));
  // Only the click after that pauses.
  d.Click(kPause);
  EXPECT_TRUE(d.Live()->paused);
}

TEST_F(FaceButtons, PauseIsRefusedWhileNotPlaying) {
  AddThree();
  d.Click(kPause);
  EXPECT_FALSE(d.tracks().PauseToggled());
  EXPECT_TRUE(Shows(d.face(), skin::kTransportRowReleased));
}

// ---- Stop ----------------------------------------------------------------

TEST_F(FaceButtons, StopRewindsAndReturnsTheFaceToItsStoppedLook) {
  PlayThree();
  d.Click(kPause);
  d.TickAt(30.4);
  d.Click(kStop);

  auto* g = d.Live();
  EXPECT_TRUE(g->stopped);
  EXPECT_EQ(g->position, 0);
  EXPECT_FALSE(d.tracks().IsPlaying());
  EXPECT_FALSE(app.ctx.timer().Enabled());
  EXPECT_EQ(app.ctx.timer().Interval(), 0);
  EXPECT_EQ(app.desktop.armedInterval, 0);
  EXPECT_TRUE(Shows(d.face(), skin::kTransportRowReleased));
  EXPECT_TRUE(Shows(d.face(), skin::kTimeBarTrack));
  EXPECT_TRUE(Blank(app.ctx.playerWindow().titlePanel()));
  auto times = app.text.On(app.ctx.playerWindow().clockPanel());
  EXPECT_EQ(times.back().text, "     ");
  EXPECT_FALSE(d.pressed().stop);
  // No more ticks.
  const std::size_t draws = app.text.drawn.size();
  app.desktop.Tick();
  EXPECT_EQ(app.text.drawn.size(), draws);
}

TEST_F(FaceButtons, StopIsRefusedWhileNotPlaying) {
  AddThree();
  d.Press(kStop);
  EXPECT_FALSE(d.pressed().stop);
  EXPECT_TRUE(Shows(d.face(), skin::kTransportRowReleased));
}

// ---- Previous and Next ---------------------------------------------------

TEST_F(FaceButtons, NextOpensTheFollowingTrackWithAFreshClockAndBar) {
  PlayThree();
  d.TickAt(0.05);  // some fill on the bar
  ASSERT_GT(FillWidth(d.face()), 0);
  d.Press(kNext);
  EXPECT_TRUE(Shows(d.face(), skin::kNextPressed));
  const std::size_t since = app.text.drawn.size();
  d.Release(kNext);

  EXPECT_EQ(d.tracks().CurrentEntry(), 2);
  EXPECT_EQ(d.Live()->path, "C:\\m\\b.mp3");
  EXPECT_TRUE(d.Live()->running);
  EXPECT_TRUE(Shows(d.face(), skin::kNextReleased));
  EXPECT_EQ(FillWidth(d.face()), 0);
  auto times = d.DrawnOn(app.ctx.playerWindow().clockPanel(), since);
  ASSERT_EQ(times.size(), 1u);
  EXPECT_EQ(times[0].text, "00:00");
  EXPECT_FALSE(d.pressed().next);
  // The list shows the new current track.
  ASSERT_NE(app.desktop.playlist, nullptr);
}

TEST_F(FaceButtons, PreviousOpensTheTrackBefore) {
  AddThree();
  d.tracks().SetCurrentEntry(3);
  d.Click(kPlay);
  d.Press(kPrev);
  EXPECT_TRUE(Shows(d.face(), skin::kPrevPressed));
  d.Release(kPrev);
  EXPECT_EQ(d.tracks().CurrentEntry(), 2);
  EXPECT_EQ(d.Live()->path, "C:\\m\\b.mp3");
  EXPECT_TRUE(Shows(d.face(), skin::kPrevReleased));
}

TEST_F(FaceButtons, PreviousAndNextStayInsideTheList) {
  PlayThree();  // on track 1
  d.Press(kPrev);
  EXPECT_FALSE(d.pressed().previous);
  d.Release(kPrev);
  EXPECT_EQ(d.tracks().CurrentEntry(), 1);

  d.Click(kNext);
  d.Click(kNext);
  ASSERT_EQ(d.tracks().CurrentEntry(), 3);
  d.Press(kNext);  // the last track
  EXPECT_FALSE(d.pressed().next);
  EXPECT_TRUE(Shows(d.face(), skin::kNextReleased));
  d.Release(kNext);
  EXPECT_EQ(d.tracks().CurrentEntry(), 3);
}

TEST_F(FaceButtons, PreviousAndNextAreRefusedWhileNotPlaying) {
  AddThree();
  d.tracks().SetCurrentEntry(2);
  d.Click(kNext);
  d.Click(kPrev);
  EXPECT_EQ(d.tracks().CurrentEntry(), 2);
  EXPECT_TRUE(app.media.graphs.empty());
}

TEST_F(FaceButtons, NextPressedAtX276IsAcceptedButNeverChangesTrack) {
  PlayThree();
  d.Press({276, 160});
  EXPECT_TRUE(d.pressed().next);
  EXPECT_TRUE(Shows(d.face(), skin::kNextPressed));
  d.Release({276, 160});
  EXPECT_FALSE(d.pressed().next);
  EXPECT_TRUE(Shows(d.face(), skin::kNextReleased));
  EXPECT_EQ(d.tracks().CurrentEntry(), 1);

  d.Press({275, 160});
  d.Release({275, 160});
  EXPECT_EQ(d.tracks().CurrentEntry(), 2);
}

TEST_F(FaceButtons, NextToAMissingFileMovesTheFaceOnAndTheOldTrackPlays) {
  PlayThree();
  app.media.files.erase("C:\\m\\b.mp3");
  d.Click(kNext);
  EXPECT_EQ(d.tracks().CurrentEntry(), 2);
  EXPECT_EQ(d.Live()->path, "/m/a.mp3");
  EXPECT_TRUE(d.Live()->running);
}

TEST_F(FaceButtons, NextHeldWhileTheTrackEndsDoesNotRunPastTheList) {
  AddThree();
  d.tracks().SetCurrentEntry(2);
  d.Click(kPlay);
  d.Press(kNext);  // accepted on track 2 of 3
  ASSERT_TRUE(d.pressed().next);
  d.TickAt(60.3);  // track 2 ends while the button is held: track 3 starts
  ASSERT_EQ(d.tracks().CurrentEntry(), 3);
  d.Release(kNext);
  EXPECT_EQ(d.tracks().CurrentEntry(), 3);
  EXPECT_EQ(d.Live()->path, "/m/c.mp3");
  EXPECT_FALSE(d.pressed().next);
  EXPECT_TRUE(Shows(d.face(), skin::kNextReleased));
}

TEST_F(FaceButtons, PauseHeldWhileTheListEndsDoesNotRestartTheStoppedTrack) {
  AddThree();
  d.tracks().SetCurrentEntry(3);
  d.Click(kPlay);
  d.Click(kPause);  // paused...
  d.Press(kPause);  // ...and pressed again to resume
  d.TickAt(90);     // but the track had already ended: the list stops
  ASSERT_FALSE(d.tracks().IsPlaying());
  d.Release(kPause);
  EXPECT_FALSE(d.Live()->running);
  EXPECT_EQ(d.Live()->position, 0);
  EXPECT_TRUE(Shows(d.face(), skin::kPauseReleased));
}

TEST_F(FaceButtons, ATrackOfTheOtherModeNeverInheritsAHalfGrownBar) {
  app.AddTracks({{"/short1.mp3", 60.3}, {"/long.mp3", 200.5}, {"/short2.mp3", 60.3}});
  d.Click(kPlay);
  for (int s = 1; s <= 30; ++s) d.TickAt(s + 0.05);  // the short pair is half way
  d.Click(kNext);                                   // to the long track
  d.TickAt(0.05);
  EXPECT_EQ(FillWidth(d.face()), 2);
  d.Click(kNext);  // to a short track again
  d.TickAt(0.5);
  EXPECT_EQ(FillWidth(d.face()), 0);
  d.TickAt(1.05);
  EXPECT_EQ(FillWidth(d.face()), 3);  // 2 pixels a second plus one of the remainder
  d.TickAt(2.05);
  EXPECT_EQ(FillWidth(d.face()), 6);
}

// ---- Pressed images ------------------------------------------------------

TEST_F(FaceButtons, EveryTransportImageLandsOnItsOwnPlace) {
  AddThree();
  d.tracks().SetCurrentEntry(2);
  // The row drawn at load puts the previous button one pixel up and left of
  // where a single button lands.
  EXPECT_FALSE(Shows(d.face(), skin::kPrevReleased));
  d.Click(kPlay);
  const struct {
    At at;
    const Sprite& pressed;
    const Sprite& released;
  } buttons[] = {{kPrev, skin::kPrevPressed, skin::kPrevReleased},
                 {kPause, skin::kPausePressed, skin::kPauseReleased},
                 {kStop, skin::kStopPressed, skin::kStopReleased},
                 {kNext, skin::kNextPressed, skin::kNextReleased}};
  for (const auto& b : buttons) {
    d.Press(b.at);
    EXPECT_TRUE(Shows(d.face(), b.pressed)) << b.at.x;
    d.Release({b.at.x, 100});
    EXPECT_TRUE(Shows(d.face(), b.released)) << b.at.x;
  }
}

TEST_F(FaceButtons, ReleaseElsewhereRestoresEveryHeldTransportButton) {
  PlayThree();
  d.Click(kNext);  // on track 2: both Previous and Next are allowed
  d.Press(kPrev);
  d.Press(kNext);
  d.Press(kStop);
  EXPECT_TRUE(d.pressed().previous && d.pressed().next && d.pressed().stop);
  d.Release({150, 100});
  EXPECT_FALSE(d.pressed().previous || d.pressed().next || d.pressed().stop);
  EXPECT_TRUE(Shows(d.face(), skin::kPrevReleased));
  EXPECT_TRUE(Shows(d.face(), skin::kNextReleased));
  EXPECT_TRUE(Shows(d.face(), skin::kStopReleased));
  EXPECT_TRUE(d.tracks().IsPlaying());
}

// ---- Pending events after a press ----------------------------------------

TEST_F(FaceButtons, PendingEventsAfterAPressSeeTheFlagAndThePressedImage) {
  AddThree();
  bool flagSeen = false, imageShown = false;
  app.desktop.pendingEvents = [&] {
    flagSeen = d.pressed().play;
    imageShown = Shows(app.desktop.player.presented, skin::kPlayPressed);
  };
  d.Press(kPlay);
  EXPECT_EQ(app.desktop.pendingEventRuns, 1);
  EXPECT_TRUE(flagSeen);
  EXPECT_TRUE(imageShown);
}

TEST_F(FaceButtons, ATickDuringAPressRunsWithTheFlagSet) {
  PlayThree();
  bool flagSeenByTick = false;
  app.desktop.pendingEvents = [&] {
    app.desktop.Tick();
    flagSeenByTick = d.pressed().next;
  };
  const std::int32_t before = app.ctx.playerWindow().titleOffset();
  d.Press(kNext);
  EXPECT_EQ(app.ctx.playerWindow().titleOffset(), before - 1);  // the tick ran
  EXPECT_TRUE(flagSeenByTick);
}

TEST_F(FaceButtons, PausePressInvertsBeforePendingEventsRun) {
  PlayThree();
  bool invertedSeen = false;
  app.desktop.pendingEvents = [&] { invertedSeen = d.tracks().PauseToggled(); };
  d.Press(kPause);
  EXPECT_TRUE(invertedSeen);
}

TEST_F(FaceButtons, AReleaseQueuedBehindThePressRunsTheCommand) {
  AddThree();
  app.desktop.pendingEvents = [&] {
    app.desktop.pendingEvents = nullptr;
    d.Release(kPlay);
  };
  d.Press(kPlay);
  EXPECT_TRUE(d.tracks().IsPlaying());
  EXPECT_TRUE(Shows(app.desktop.player.presented, skin::kPlayPressed));
}

// ---- Title-bar buttons ---------------------------------------------------

TEST_F(FaceButtons, CloseClickUnloadsThePlayer) {
  PlayThree();
  d.Click(kPlaylist);
  ASSERT_TRUE(app.ctx.playlistWindow().Loaded());
  d.Press(kClose);
  EXPECT_TRUE(Shows(d.face(), skin::kClosePressed));
  d.Release(kClose);
  EXPECT_TRUE(app.ctx.playerWindow().Closed());
  EXPECT_FALSE(app.ctx.playlistWindow().Loaded());
  EXPECT_FALSE(app.desktop.trayShown);
  EXPECT_TRUE(app.desktop.quit);
  // Playback is not stopped first.
  EXPECT_TRUE(d.Live()->running);
}

TEST_F(FaceButtons, ClosePressedAndReleasedElsewhereNeedsANewPress) {
  d.Press(kClose);
  d.Release({100, 100});
  EXPECT_FALSE(d.pressed().close);
  EXPECT_TRUE(Shows(d.face(), skin::kTitleButtonsReleased));
  d.Release(kClose);
  EXPECT_FALSE(app.ctx.playerWindow().Closed());
}

TEST_F(FaceButtons, AReleaseOverCloseWithoutAPressLeavesTheTitleButtonsAlone) {
  d.Press(kMinimise);
  d.Release(kClose);
  EXPECT_FALSE(app.ctx.playerWindow().Closed());
  EXPECT_TRUE(Shows(d.face(), skin::kMinimisePressed));
  EXPECT_TRUE(d.pressed().minimise);
}

TEST_F(FaceButtons, MinimiseHidesBothWindowsInTheTray) {
  d.Click(kPlaylist);
  ASSERT_TRUE(app.ctx.playlistWindow().Loaded());
  d.Press(kMinimise);
  EXPECT_TRUE(Shows(d.face(), skin::kMinimisePressed));
  EXPECT_EQ(skin::kMinimisePressed.destX, 254);
  app.desktop.log.clear();
  bool visibleWhilePending = false;
  app.desktop.pendingEvents = [&] {
    visibleWhilePending = app.desktop.player.visible;
    EXPECT_TRUE(Shows(app.desktop.player.presented, skin::kTitleButtonsReleased));
  };
  d.Release(kMinimise);
  EXPECT_TRUE(visibleWhilePending);
  EXPECT_FALSE(d.pressed().minimise);
  EXPECT_EQ(app.desktop.player.state, seam::WindowState::Minimised);
  EXPECT_FALSE(app.desktop.player.visible);
  ASSERT_NE(app.desktop.playlist, nullptr);
  EXPECT_FALSE(app.desktop.playlist->visible);
  EXPECT_EQ(app.desktop.log, (std::vector<std::string>{"player:minimise", "player:hide", "playlist:hide"}));
  // The tray brings both back.
  app.desktop.onTray(seam::TrayEvent::LeftDoubleClick);
  EXPECT_TRUE(app.desktop.player.visible);
  EXPECT_TRUE(app.desktop.playlist->visible);
}

TEST_F(FaceButtons, WithoutATrayMinimiseNeverStrandsThePlayer) {
  app.desktop.trayAvailable = false;
  d.Click(kPlaylist);
  d.Click(kMinimise);
  EXPECT_EQ(app.desktop.player.state, seam::WindowState::Minimised);
  EXPECT_TRUE(app.desktop.player.visible);
  ASSERT_NE(app.desktop.playlist, nullptr);
  EXPECT_TRUE(app.desktop.playlist->visible);
}

TEST_F(FaceButtons, TheMinimiseFlagSurvivesAReleaseElsewhere) {
  AddThree();
  d.Press(kMinimise);
  d.Release({100, 100});
  EXPECT_TRUE(Shows(d.face(), skin::kTitleButtonsReleased));  // looks released...
  EXPECT_TRUE(d.pressed().minimise);                            // ...but still armed
  EXPECT_EQ(app.desktop.player.state, seam::WindowState::Normal);

  d.Press(kPlay);  // any later release over minimise minimises
  d.Release(kMinimise);
  EXPECT_EQ(app.desktop.player.state, seam::WindowState::Minimised);
  EXPECT_FALSE(app.desktop.player.visible);
  // and the held Play press was released with it
  EXPECT_FALSE(d.pressed().play);
  EXPECT_TRUE(Shows(d.face(), skin::kPlayReleased));
}

// ---- Option buttons ------------------------------------------------------

TEST_F(FaceButtons, RepeatPressTogglesTheLampAndTheMode) {
  d.Press(kRepeat);
  EXPECT_TRUE(d.tracks().Repeats());
  EXPECT_TRUE(Shows(d.face(), skin::kRepeatLit));
  const int presents = app.desktop.player.presents;
  d.Release(kRepeat);  // the release does nothing at all
  EXPECT_EQ(app.desktop.player.presents, presents);
  d.Click(kRepeat);
  EXPECT_FALSE(d.tracks().Repeats());
  EXPECT_TRUE(Shows(d.face(), skin::kRepeatUnlit));
  // The unlit lamp is shorter: rows 77 and 78 keep what the lit one drew there.
  for (int x = 233; x <= 282; ++x) {
    EXPECT_EQ(d.face().Pixel(x, 77), fakes::CoordinatePixel(fakes::kPartsId, 58 + x - 233, 204));
    EXPECT_EQ(d.face().Pixel(x, 78), fakes::CoordinatePixel(fakes::kPartsId, 58 + x - 233, 205));
  }
}

TEST_F(FaceButtons, PlaylistPressOpensAndUnloadsThePlaylistWindow) {
  d.Click(kPlaylist);
  EXPECT_TRUE(app.ctx.playlistWindow().Loaded());
  ASSERT_NE(app.desktop.playlist, nullptr);
  EXPECT_TRUE(app.desktop.playlist->visible);
  EXPECT_TRUE(Shows(d.face(), skin::kPlaylistLit));
  d.Click(kPlaylist);
  EXPECT_FALSE(app.ctx.playlistWindow().Loaded());
  EXPECT_EQ(app.desktop.playlist, nullptr);
  EXPECT_TRUE(Shows(d.face(), skin::kPlaylistUnlit));
  // The unlit lamp leaves the lit one's top row.
  for (int x = 177; x <= 233; ++x)
    EXPECT_EQ(d.face().Pixel(x, 53), fakes::CoordinatePixel(fakes::kPartsId, 2 + x - 177, 180));
}

TEST_F(FaceButtons, OnTopPressLiftsThePlayerAloneOrBothWindowsPlayerFirst) {
  d.Click(kOnTop);
  EXPECT_TRUE(app.desktop.player.topMost);
  EXPECT_TRUE(Shows(app.desktop.player.presented, skin::kOnTopLit));
  EXPECT_EQ(app.desktop.playlistHostsCreated, 0);  // no playlist window was created
  d.Click(kOnTop);
  EXPECT_FALSE(app.desktop.player.topMost);
  EXPECT_TRUE(Shows(d.face(), skin::kOnTopUnlit));
  EXPECT_EQ(d.face().Pixel(175, 29), fakes::CoordinatePixel(fakes::kPartsId, 0, 156));  // the lit lamp's top rows

  d.Click(kPlaylist);
  app.desktop.log.clear();
  d.Click(kOnTop);
  EXPECT_EQ(app.desktop.log, (std::vector<std::string>{"player:topmost", "playlist:topmost"}));
}

TEST_F(FaceButtons, OptionReleasesDoNotReleaseHeldTransportButtons) {
  AddThree();
  d.Press(kPlay);
  d.Release(kOnTop);
  EXPECT_TRUE(d.pressed().play);
  EXPECT_TRUE(Shows(d.face(), skin::kPlayPressed));
}

// ---- Volume knob ---------------------------------------------------------

// Where the face shows the knob's left edge; 0 when nowhere on its bar.
int KnobOnFace(const Image& face) {
  for (int x = skin::kKnobMin; x <= skin::kKnobMax; ++x)
    if (Shows(face, {skin::Sheet::Parts, skin::kVolumeKnob, x, skin::kVolumeKnobTop})) return x;
  return 0;
}

TEST_F(FaceButtons, EveryKnobPositionGivesItsOwnVolume) {
  PlayThree();
  // 0.8 dB a pixel, -3.2 dB at the right end.
  for (int x = skin::kKnobMin; x <= skin::kKnobMax; ++x) {
    app.ctx.playerWindow().OnMouseMove(seam::kLeftButton, x, 115);
    ASSERT_EQ(d.Live()->volume, (x - 286) * 80) << x;
    ASSERT_EQ(KnobOnFace(d.face()), x);
  }
}

TEST_F(FaceButtons, TheKnobFollowsTheLeftButtonInsideTheBar) {
  PlayThree();
  app.ctx.playerWindow().OnMouseMove(seam::kLeftButton, 230.2, 115);
  EXPECT_EQ(KnobOnFace(d.face()), 230);
  EXPECT_EQ(d.Live()->volume, (230 - 286) * 80);
  EXPECT_EQ(d.face().Pixel(230, 106), fakes::CoordinatePixel(fakes::kPartsId, 0, 52));
  EXPECT_EQ(d.face().Pixel(236, 125), fakes::CoordinatePixel(fakes::kPartsId, 6, 71));
  // The old knob at 280 was erased by the empty bar.
  EXPECT_EQ(d.face().Pixel(283, 110), fakes::CoordinatePixel(fakes::kPartsId, 283 - 175, 233 + 110 - 102));
  EXPECT_EQ(app.desktop.player.presented.Pixel(230, 106), fakes::CoordinatePixel(fakes::kPartsId, 0, 52));
}

TEST_F(FaceButtons, KnobPositionsRoundHalvesToEven) {
  auto move = [&](double x) {
    app.ctx.playerWindow().OnMouseMove(seam::kLeftButton, x, 110);
    return KnobOnFace(d.face());
  };
  EXPECT_EQ(move(206.5), 206);
  EXPECT_EQ(move(207.5), 208);
  EXPECT_EQ(move(281.5), 282);
  EXPECT_EQ(move(206), 206);
  EXPECT_EQ(move(282), 282);
}

TEST_F(FaceButtons, TheKnobStaysOutsideTheBarOrWithOtherButtons) {
  auto& player = app.ctx.playerWindow();
  const Image before = d.face();
  player.OnMouseMove(seam::kLeftButton, 205.9, 110);
  player.OnMouseMove(seam::kLeftButton, 282.5, 110);
  player.OnMouseMove(seam::kLeftButton, 240, 105.5);
  player.OnMouseMove(seam::kLeftButton, 240, 126.5);
  player.OnMouseMove(seam::kRightButton, 240, 110);
  player.OnMouseMove(seam::kLeftButton | seam::kRightButton, 240, 110);
  player.OnMouseMove(0, 240, 110);
  EXPECT_EQ(KnobOnFace(d.face()), 280);
  EXPECT_TRUE(d.face() == before);
  player.OnMouseMove(seam::kLeftButton, 240, 126);  // the bottom edge counts
  EXPECT_EQ(KnobOnFace(d.face()), 240);
}

// ---- Dragging ------------------------------------------------------------

TEST_F(FaceButtons, APressOnTheFreeFaceDragsTheWindow) {
  d.Press({60, 140});
  EXPECT_EQ(app.desktop.player.drags, 1);
  d.Press({290, 140});  // right of the column
  d.Press({60, 105.5});
  EXPECT_EQ(app.desktop.player.drags, 3);
}

TEST_F(FaceButtons, PressesOnTheBarsAndTheRightColumnNeitherSeekNorDrag) {
  PlayThree();
  d.TickAt(12);
  const double position = d.Live()->position;
  const int fill = FillWidth(d.face());
  for (At p : {At{60, 113}, At{100, 106}, At{100, 126}, At{206, 140}, At{286, 140}, At{250, 20}, At{220, 160}}) {
    d.Press(p);
    d.Release(p);
  }
  EXPECT_EQ(app.desktop.player.drags, 0);
  EXPECT_EQ(d.Live()->position, position);
  EXPECT_EQ(FillWidth(d.face()), fill);
  EXPECT_EQ(d.tracks().CurrentEntry(), 1);
}

TEST_F(FaceButtons, NoReleaseOrMoveIsHandledInsideTheMoveLoop) {
  PlayThree();
  d.Press(kMinimise);
  d.Release({100, 100});  // the minimise flag stays armed
  ASSERT_TRUE(d.pressed().minimise);
  std::int32_t offsetBefore = app.ctx.playerWindow().titleOffset();
  app.desktop.player.duringDrag = [&] {
    app.desktop.Tick();  // ticks go on while the window moves
    d.Release(kMinimise);
    app.ctx.playerWindow().OnMouseMove(seam::kLeftButton, 230, 110);
  };
  d.Press(kFree);
  EXPECT_EQ(app.desktop.player.drags, 1);
  EXPECT_EQ(app.ctx.playerWindow().titleOffset(), offsetBefore - 1);
  EXPECT_EQ(app.desktop.player.state, seam::WindowState::Normal);
  EXPECT_TRUE(d.pressed().minimise);
  EXPECT_EQ(KnobOnFace(d.face()), 280);
}

}  // namespace
}  // namespace kestrafon
