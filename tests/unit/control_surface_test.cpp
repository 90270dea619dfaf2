// The control surface as its callers see it: what the engine is told, what
// the face shows, whether the playback tick is armed, what is refused, and
// when the observer hears of it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "model/playlist_file.h"
#include "unit/player_face_checks.h"

namespace kestrafon {
namespace {

using facecheck::Driver;
using facecheck::Shows;
using fakes::TestApp;
using namespace skin;

struct CountingObserver : ControlObserver {
  int calls = 0;
  void OnControlChanged() override { ++calls; }
};

struct SurfaceApp {
  TestApp app;
  CountingObserver observer;
  Driver drive{app};

  SurfaceApp() {
    app.Start();
    control().SetObserver(&observer);
  }
  ControlSurface& control() { return app.ctx.control(); }
  fakes::FakeGraphState* Live() { return drive.Live(); }
  void ThreeTracks() { app.AddTracks({{"/m/a.mp3", 200}, {"/m/b.mp3", 60}, {"/m/c.mp3", 30}}); }
};

TEST(ControlSurface, RefusesWhatTheFaceWouldRefuseAndChangesNothing) {
  SurfaceApp s;
  // An empty, stopped player: nothing but the refusal.
  const Image before = s.app.face();
  for (auto command : {&PlayerControl::Play, &PlayerControl::Pause, &PlayerControl::Stop, &PlayerControl::Next,
                       &PlayerControl::Previous}) {
    EXPECT_EQ((s.control().*command)(), CommandResult::Refused);
  }
  EXPECT_FALSE(s.control().CanPlay() || s.control().CanPause() || s.control().CanStop() || s.control().CanNext() ||
               s.control().CanPrevious());
  EXPECT_TRUE(s.app.media.graphs.empty());
  EXPECT_EQ(s.app.desktop.armedInterval, 0);
  EXPECT_TRUE(s.app.face() == before);
  EXPECT_EQ(s.observer.calls, 0);

  // Tracks, still stopped: Pause, Stop and the skips stay refused.
  s.ThreeTracks();
  EXPECT_TRUE(s.control().CanPlay());
  EXPECT_EQ(s.control().Pause(), CommandResult::Refused);
  EXPECT_EQ(s.control().Stop(), CommandResult::Refused);
  EXPECT_EQ(s.control().Next(), CommandResult::Refused);

  // Playing track 1: Play again and Previous are refused, the graph plays on.
  ASSERT_EQ(s.control().Play(), CommandResult::Done);
  const std::size_t graphs = s.app.media.graphs.size();
  EXPECT_EQ(s.control().Play(), CommandResult::Refused);
  EXPECT_EQ(s.control().Previous(), CommandResult::Refused);
  // On the last track Next is refused.
  ASSERT_EQ(s.control().PlayEntry(3), CommandResult::Done);
  EXPECT_EQ(s.control().Next(), CommandResult::Refused);
  EXPECT_EQ(s.app.media.graphs.size(), graphs + 1);
  EXPECT_EQ(s.observer.calls, 2);  // Play and PlayEntry, nothing for the refusals
  EXPECT_EQ(s.control().PlayEntry(0), CommandResult::Refused);
}

TEST(ControlSurface, PlayAndPauseTakeTheFacesLookWithoutAPress) {
  SurfaceApp s;
  s.ThreeTracks();
  ASSERT_EQ(s.control().Play(), CommandResult::Done);
  fakes::FakeGraphState* graph = s.Live();
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(graph->path, "/m/a.mp3");
  EXPECT_TRUE(graph->running);
  EXPECT_EQ(s.app.desktop.armedInterval, 100);
  EXPECT_TRUE(Shows(s.app.face(), kPlayPressed));
  const auto title = s.drive.DrawnOn(s.app.ctx.playerWindow().titlePanel());
  ASSERT_FALSE(title.empty());
  EXPECT_EQ(title.back().text, "a.mp3");
  EXPECT_EQ(title.back().x, 10);

  graph->position = 42;
  ASSERT_EQ(s.control().Pause(), CommandResult::Done);
  EXPECT_TRUE(graph->paused);
  EXPECT_TRUE(Shows(s.app.face(), kPausePressed));  // stays down while paused
  EXPECT_EQ(s.control().State(), PlaybackState::Paused);
  ASSERT_EQ(s.control().Pause(), CommandResult::Done);
  EXPECT_TRUE(graph->running);
  EXPECT_EQ(graph->position, 42);
  EXPECT_TRUE(Shows(s.app.face(), kPauseReleased));

  // A face press on Pause released elsewhere runs nothing: the graph, and
  // so the reported state, still play.
  s.drive.Press(facecheck::kPause);
  s.drive.Release(facecheck::kFree);
  EXPECT_TRUE(graph->running);
  EXPECT_EQ(s.control().State(), PlaybackState::Playing);
  EXPECT_EQ(s.observer.calls, 3);
}

// Whichever way a command comes in (the face, a direct call, the playlist
// window), the observer hears of it once.
TEST(ControlSurface, TheObserverHearsOfEachAcceptedCommandOnce) {
  SurfaceApp empty;  // Enter on an empty list is not refused: it opens an empty path
  empty.app.ctx.playlistWindow().OnKeyDown(seam::Key::Enter);
  EXPECT_EQ(empty.observer.calls, 1);

  SurfaceApp s;
  s.ThreeTracks();
  for (auto button : {facecheck::kPlay, facecheck::kNext, facecheck::kPrev, facecheck::kPause, facecheck::kStop}) {
    s.drive.Click(button);
  }
  EXPECT_EQ(s.observer.calls, 5);
  s.drive.Click(facecheck::kStop);  // refused on press: no command, no call
  EXPECT_EQ(s.observer.calls, 5);

  ASSERT_EQ(s.control().Play(), CommandResult::Done);
  ASSERT_EQ(s.control().Next(), CommandResult::Done);
  EXPECT_EQ(s.Live()->path, "/m/b.mp3");
  ASSERT_EQ(s.control().Previous(), CommandResult::Done);
  EXPECT_EQ(s.Live()->path, "/m/a.mp3");
  ASSERT_EQ(s.control().Stop(), CommandResult::Done);
  EXPECT_EQ(s.observer.calls, 9);

  // Enter on the selected row plays it, as PlayEntry does.
  s.app.ctx.tracks().SelectEntry(3);
  s.app.ctx.playlistWindow().OnKeyDown(seam::Key::Enter);
  EXPECT_EQ(s.Live()->path, "/m/c.mp3");
  EXPECT_EQ(s.control().CurrentEntry(), 3);

  // The playlist window's Add, Remove and Clear.
  s.app.ctx.playlistWindow().Show();
  s.app.desktop.openAnswers.push_back({"/m/z.mp3"});
  s.app.ctx.playlistWindow().OnMouseDown(seam::kLeftButton, 20, 185);  // Add
  EXPECT_EQ(s.control().EntryCount(), 4);
  s.app.ctx.playlistWindow().OnMouseDown(seam::kLeftButton, 70, 185);  // Remove
  EXPECT_EQ(s.control().EntryCount(), 3);
  s.app.ctx.playlistWindow().OnMouseDown(seam::kLeftButton, 120, 185);  // Clear
  EXPECT_EQ(s.control().EntryCount(), 0);
  EXPECT_EQ(s.observer.calls, 13);
}

TEST(ControlSurface, TheTickTellsTheObserverOnlyOfTrackChangesAndTheEnd) {
  SurfaceApp s;
  s.app.AddTracks({{"/m/a.mp3", 3}, {"/m/b.mp3", 2}});
  ASSERT_EQ(s.control().Play(), CommandResult::Done);
  s.observer.calls = 0;

  for (double t : {0.5, 1.0, 2.0}) s.drive.TickAt(t);
  EXPECT_EQ(s.observer.calls, 0);  // ordinary ticks

  s.drive.TickAt(3);  // the end of track 1: track 2 starts
  EXPECT_EQ(s.observer.calls, 1);
  EXPECT_EQ(s.Live()->path, "/m/b.mp3");
  EXPECT_EQ(s.control().CurrentEntry(), 2);
  s.drive.TickAt(1);
  EXPECT_EQ(s.observer.calls, 1);

  s.drive.TickAt(2);  // the end of the list: playback stops
  EXPECT_EQ(s.observer.calls, 2);
  EXPECT_EQ(s.control().State(), PlaybackState::Stopped);
  EXPECT_EQ(s.control().CurrentEntry(), 1);
  EXPECT_TRUE(s.control().CanPlay());
}

TEST(ControlSurface, AddFilesAppendsTracksAndReadsPlaylistFilesInOrder) {
  SurfaceApp s;
  EXPECT_EQ(s.control().AddFiles({}), 0);  // cancelled
  EXPECT_EQ(s.observer.calls, 0);

  const std::filesystem::path kfl = std::filesystem::temp_directory_path() / "control_surface_test.kfl";
  ASSERT_TRUE(WritePlaylistFile(kfl.string(), {"/p/1.mp3", "/p/2.mp3"}));
  EXPECT_EQ(s.control().AddFiles({"/m/one.mp3", kfl.string(), "/m/two.mp3"}), 4);
  std::filesystem::remove(kfl);
  EXPECT_EQ(s.control().AddFiles({kfl.string()}), 0);  // an unreadable playlist adds nothing
  EXPECT_EQ(s.control().EntryCount(), 4);
  const TrackList& tracks = s.app.ctx.tracks();
  EXPECT_EQ((std::vector<std::string>{tracks.PathAt(1), tracks.PathAt(2), tracks.PathAt(3), tracks.PathAt(4)}),
            (std::vector<std::string>{"/m/one.mp3", "/p/1.mp3", "/p/2.mp3", "/m/two.mp3"}));
  EXPECT_EQ(s.observer.calls, 1);
}

TEST(ControlSurface, WithoutSoundPlaybackStopsAndTheUserIsToldOnce) {
  SurfaceApp s;
  s.ThreeTracks();
  s.app.media.files["/m/a.mp3"].noOutput = true;  // no sound output opens
  const auto stoppedFace = [&] {
    EXPECT_EQ(s.control().State(), PlaybackState::Stopped);
    EXPECT_FALSE(s.app.ctx.tracks().IsPlaying());
    EXPECT_FALSE(s.app.ctx.timer().Ticking());
    EXPECT_TRUE(Shows(s.app.face(), kTransportRowReleased)) << "no playing look without sound";
  };
  const auto& messages = s.app.desktop.messages;

  ASSERT_EQ(s.control().Play(), CommandResult::Done);
  stoppedFace();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "再生できません");
  EXPECT_EQ(messages[0].text, "音声を出力できる装置がないため、次の曲を再生できません。\n/m/a.mp3");

  // The output goes away under a playing track: told, playback stops.
  s.control().PlayEntry(2);
  ASSERT_EQ(s.control().State(), PlaybackState::Playing);
  s.app.media.LoseOutput(*s.Live());
  s.app.media.Deliver();
  stoppedFace();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "音声の出力先が使えなくなったため、次の曲の再生を止めました。\n/m/b.mp3");
  s.app.media.LoseOutput(*s.Live());  // said once
  s.app.media.Deliver();
  s.control().Tick();
  EXPECT_EQ(messages.size(), 2u);
}

// ---- The track that follows ---------------------------------------------

enum class Step { Repeat, RemoveThird, AddFile, Pause, Stop, Next, PlayFirst };

struct Case {
  const char* what;
  std::int32_t playing;  // the entry played first (of a, b, c)
  std::vector<Step> steps;
  const char* follows;   // what the live graph has readied
};

const Case kCases[] = {
    {"the next entry", 1, {}, "/m/b.mp3"},
    {"nothing after the last", 3, {}, ""},
    {"the first again with repeat", 3, {Step::Repeat}, "/m/a.mp3"},
    {"the entry after a removed one", 2, {Step::RemoveThird}, ""},
    {"a file added behind the last", 3, {Step::AddFile}, "/m/d.mp3"},
    {"the same while paused", 1, {Step::Pause}, "/m/b.mp3"},
    {"nothing once stopped", 1, {Step::Stop}, ""},
    {"the next of the new track after Next", 1, {Step::Next}, "/m/c.mp3"},
    {"the next of the new track after a double-click", 3, {Step::PlayFirst}, "/m/b.mp3"},
};

TEST(ControlSurface, TheEngineReadiesTheTrackTheTicksAdvanceWouldStart) {
  for (const Case& c : kCases) {
    SurfaceApp s;
    s.ThreeTracks();
    s.app.media.files["/m/d.mp3"] = {10};
    ASSERT_EQ(s.control().PlayEntry(c.playing), CommandResult::Done) << c.what;
    for (Step step : c.steps) {
      switch (step) {
        case Step::Repeat: s.app.ctx.playerWindow().OnMouseDown(seam::kLeftButton, 250, 87); break;
        case Step::RemoveThird:
          s.app.ctx.tracks().SelectEntry(3);
          s.app.ctx.playlistWindow().OnMouseDown(seam::kLeftButton, 70, 185);
          break;
        case Step::AddFile: s.control().AddFiles({"/m/d.mp3"}); break;
        case Step::Pause: s.control().Pause(); break;
        case Step::Stop: s.control().Stop(); break;
        case Step::Next: s.control().Next(); break;
        case Step::PlayFirst: s.control().PlayEntry(1); break;
      }
    }
    // A stopped player keeps its last graph, rewound, with nothing to follow.
    ASSERT_NE(s.Live(), nullptr) << c.what;
    EXPECT_EQ(s.Live()->following, c.follows) << c.what;
  }
}

// The readied track takes over at the end of the current one: the face shows
// it as soon as the graph says so, as the advance at the end of a track
// would, without a new graph and without waiting for a tick.
TEST(ControlSurface, WhenTheNextTrackTakesOverTheFaceShowsItAtOnce) {
  SurfaceApp s;
  s.ThreeTracks();
  ASSERT_EQ(s.control().Play(), CommandResult::Done);
  s.observer.calls = 0;
  fakes::FakeGraphState* graph = s.Live();
  s.app.media.PlayToEnd(*graph);
  EXPECT_EQ(s.control().CurrentEntry(), 1) << "nothing before the event is delivered";
  const std::size_t mark = s.app.text.drawn.size();
  s.app.media.Deliver();

  EXPECT_EQ(s.control().CurrentEntry(), 2);
  EXPECT_EQ(s.app.media.graphs.size(), 1u);
  EXPECT_EQ(s.Live(), graph);
  EXPECT_EQ(graph->following, "/m/c.mp3");
  EXPECT_EQ(s.control().DurationSeconds(), 60);
  const auto title = s.drive.DrawnOn(s.app.ctx.playerWindow().titlePanel(), mark);
  const auto clock = s.drive.DrawnOn(s.app.ctx.playerWindow().clockPanel(), mark);
  ASSERT_EQ(title.size(), 1u);
  EXPECT_EQ(title[0].text, "b.mp3");
  ASSERT_EQ(clock.size(), 1u);
  EXPECT_EQ(clock[0].text, "00:00");
  EXPECT_TRUE(s.app.desktop.player.presented == s.app.face());
  SurfaceApp started;  // the bar is scaled as when b is started by hand
  started.ThreeTracks();
  started.control().PlayEntry(2);
  EXPECT_EQ(s.app.ctx.timeBar().scale().step, started.app.ctx.timeBar().scale().step);
  EXPECT_EQ(s.app.ctx.timeBar().scale().remainder, started.app.ctx.timeBar().scale().remainder);
  EXPECT_EQ(s.control().State(), PlaybackState::Playing);
  EXPECT_EQ(s.observer.calls, 1);

  // The last track ends with nothing readied: playback stops as always.
  s.app.media.PlayToEnd(*graph);
  s.app.media.Deliver();
  EXPECT_EQ(s.control().CurrentEntry(), 3);
  s.app.media.PlayToEnd(*graph);
  s.app.media.Deliver();
  EXPECT_EQ(s.control().State(), PlaybackState::Stopped);
  EXPECT_EQ(s.control().CurrentEntry(), 1);
  EXPECT_FALSE(s.app.ctx.timer().Ticking());
}

// An edit made after the next track took over in the graph, but before the
// face heard of it: the face finds the entry that plays where it stands now.
enum class Edit { None, RemoveFirst, RemoveCurrent, RemoveFollower, RemoveLast, Clear, ClearAndLoad, Repeat };

struct EditCase {
  const char* what;
  Edit edit;
  std::int32_t playing;  // of a, b, c, d
  std::int32_t current;  // the current entry once the take-over is shown
  const char* title;     // what the title says plays
  const char* follows;   // what is readied after it
};

const EditCase kEdits[] = {
    {"no edit", Edit::None, 2, 3, "c.mp3", "/m/d.mp3"},
    {"an entry before the current one removed", Edit::RemoveFirst, 2, 2, "c.mp3", "/m/d.mp3"},
    {"the entry that was current removed", Edit::RemoveCurrent, 2, 2, "c.mp3", "/m/d.mp3"},
    // It sounds already: it plays on under its own name, then what followed it.
    {"the entry that took over removed", Edit::RemoveFollower, 2, 3, "c.mp3", "/m/d.mp3"},
    {"the entry after it removed", Edit::RemoveLast, 2, 3, "c.mp3", ""},
    {"the list cleared", Edit::Clear, 2, 1, "c.mp3", ""},
    {"the list cleared and another loaded", Edit::ClearAndLoad, 2, 1, "c.mp3", "/m/w.mp3"},
    {"repeat turned on at the last entry", Edit::Repeat, 3, 4, "d.mp3", "/m/a.mp3"},
};

TEST(ControlSurface, AnEditBetweenATakeOverAndItsEventShowsWhatPlays) {
  for (const EditCase& c : kEdits) {
    SurfaceApp s;
    s.app.AddTracks({{"/m/a.mp3", 20}, {"/m/b.mp3", 20}, {"/m/c.mp3", 30}, {"/m/d.mp3", 40}});
    s.app.media.files["/m/w.mp3"] = {50};
    ASSERT_EQ(s.control().PlayEntry(c.playing), CommandResult::Done) << c.what;
    s.app.media.PlayToEnd(*s.Live());
    TrackList& tracks = s.app.ctx.tracks();
    const auto remove = [&](std::int32_t entry) {
      tracks.SelectEntry(entry);
      s.app.ctx.playlistWindow().OnMouseDown(seam::kLeftButton, 70, 185);  // Remove
    };
    const auto clear = [&] { s.app.ctx.playlistWindow().OnMouseDown(seam::kLeftButton, 120, 185); };
    switch (c.edit) {
      case Edit::None: break;
      case Edit::RemoveFirst: remove(1); break;
      case Edit::RemoveCurrent: remove(2); break;
      case Edit::RemoveFollower: remove(3); break;
      case Edit::RemoveLast: remove(4); break;
      case Edit::Clear: clear(); break;
      case Edit::ClearAndLoad:
        clear();
        s.control().AddFiles({"/m/w.mp3", "/m/x.mp3"});
        break;
      case Edit::Repeat: s.drive.Click(facecheck::kRepeat); break;
    }
    const std::size_t mark = s.app.text.drawn.size();
    s.app.media.Deliver();
    EXPECT_EQ(s.control().CurrentEntry(), c.current) << c.what;
    const auto title = s.drive.DrawnOn(s.app.ctx.playerWindow().titlePanel(), mark);
    ASSERT_FALSE(title.empty()) << c.what;
    EXPECT_EQ(title.back().text, c.title) << c.what;
    s.drive.TickAt(1);
    EXPECT_EQ(s.drive.DrawnOn(s.app.ctx.playerWindow().titlePanel(), mark).back().text, c.title) << c.what;
    EXPECT_EQ(s.Live()->following, c.follows) << c.what;
    EXPECT_EQ(s.control().State(), PlaybackState::Playing) << c.what;
  }
}

// A command wins over what the graph reported before it was given: an end
// or a take-over that was still on its way when the user paused or stopped.
enum class Command { None, Pause, Stop };

struct RaceCase {
  const char* what;
  std::int32_t playing;  // of a, b, c (repeat on): entry 3 has a readied, 1 has b
  bool takeOver;         // the readied file takes over, rather than the stream ending alone
  Command command;
  std::int32_t current;
  PlaybackState state;
  std::size_t graphs;    // graphs made in all
};

const RaceCase kRaces[] = {
    {"an end, then nothing", 3, false, Command::None, 1, PlaybackState::Playing, 2},
    {"an end, then Pause", 3, false, Command::Pause, 3, PlaybackState::Paused, 1},
    {"an end, then Stop", 3, false, Command::Stop, 3, PlaybackState::Stopped, 1},
    {"a take-over, then Pause", 1, true, Command::Pause, 2, PlaybackState::Paused, 1},
    {"a take-over, then Stop", 1, true, Command::Stop, 1, PlaybackState::Stopped, 1},
};

TEST(ControlSurface, ACommandWinsOverAnEventQueuedBeforeIt) {
  for (const RaceCase& c : kRaces) {
    SurfaceApp s;
    s.ThreeTracks();
    s.drive.Click(facecheck::kRepeat);
    ASSERT_EQ(s.control().PlayEntry(c.playing), CommandResult::Done) << c.what;
    fakes::FakeGraphState& graph = *s.Live();
    if (!c.takeOver) graph.following.clear();  // nothing was ready in time
    s.app.media.PlayToEnd(graph);
    if (c.command == Command::Pause) s.control().Pause();
    if (c.command == Command::Stop) s.control().Stop();
    s.app.media.Deliver();
    EXPECT_EQ(s.control().CurrentEntry(), c.current) << c.what;
    EXPECT_EQ(s.control().State(), c.state) << c.what;
    EXPECT_EQ(s.app.media.graphs.size(), c.graphs) << c.what;
    EXPECT_FALSE(s.Live()->running && c.state != PlaybackState::Playing) << c.what << ": sound under a still face";
  }
}

TEST(ControlSurface, APausedTrackThatEndedMovesOnWhenItRunsAgain) {
  SurfaceApp s;
  s.ThreeTracks();
  ASSERT_EQ(s.control().PlayEntry(3), CommandResult::Done);
  s.drive.Click(facecheck::kRepeat);
  s.Live()->following.clear();
  s.app.media.PlayToEnd(*s.Live());
  s.control().Pause();
  s.app.media.Deliver();
  s.control().Pause();  // resumed: the tick meets the end it was told of
  s.drive.TickAt(30);
  EXPECT_EQ(s.control().CurrentEntry(), 1);
  EXPECT_EQ(s.Live()->path, "/m/a.mp3");
  EXPECT_TRUE(s.Live()->running);
}

// A track that takes its time to open (a slow medium): the face shows it at
// once, the old one plays on unseen until the new one is ready, and what the
// user does meanwhile wins.
enum class Meanwhile { Nothing, Pause, Stop, NextAgain, Fails, NoSound };

struct SlowOpenCase {
  const char* what;
  Meanwhile meanwhile;
  const char* plays;      // the live graph's file once the open is answered
  PlaybackState state;
  std::int32_t current;
};

const SlowOpenCase kSlowOpens[] = {
    {"nothing", Meanwhile::Nothing, "/m/b.mp3", PlaybackState::Playing, 2},
    {"Pause", Meanwhile::Pause, "/m/b.mp3", PlaybackState::Paused, 2},
    {"Stop", Meanwhile::Stop, "/m/a.mp3", PlaybackState::Stopped, 2},
    {"Next again", Meanwhile::NextAgain, "/m/c.mp3", PlaybackState::Playing, 3},
    {"the file will not play", Meanwhile::Fails, "/m/a.mp3", PlaybackState::Playing, 2},
    {"no sound output", Meanwhile::NoSound, "/m/a.mp3", PlaybackState::Stopped, 2},
};

TEST(ControlSurface, ATrackThatOpensSlowlyLeavesTheWindowFreeAndTheUserInCharge) {
  for (const SlowOpenCase& c : kSlowOpens) {
    SurfaceApp s;
    s.ThreeTracks();
    fakes::FakeTrack& b = s.app.media.files["/m/b.mp3"];
    b.slow = true;
    b.renders = c.meanwhile != Meanwhile::Fails;
    b.noOutput = c.meanwhile == Meanwhile::NoSound;
    ASSERT_EQ(s.control().Play(), CommandResult::Done) << c.what;
    fakes::FakeGraphState* a = s.Live();
    s.drive.TickAt(100);
    ASSERT_EQ(s.control().Next(), CommandResult::Done) << c.what;
    EXPECT_FALSE(a->released) << c.what << ": the old track plays on while the new one opens";
    EXPECT_TRUE(a->running) << c.what;
    // Ticks meanwhile scroll the title, keep the new track's clock and bar,
    // and never take the old track's end for the end of anything.
    a->position = a->duration;
    const std::size_t mark = s.app.text.drawn.size();
    s.app.desktop.Tick();
    EXPECT_EQ(s.control().CurrentEntry(), 2) << c.what;
    EXPECT_TRUE(s.drive.DrawnOn(s.app.ctx.playerWindow().clockPanel(), mark).empty()) << c.what;
    EXPECT_EQ(s.drive.DrawnOn(s.app.ctx.playerWindow().titlePanel(), mark).back().text, "b.mp3") << c.what;
    EXPECT_EQ(facecheck::FillWidth(s.app.face()), 0) << c.what;

    if (c.meanwhile == Meanwhile::Pause) s.control().Pause();
    if (c.meanwhile == Meanwhile::Stop) s.control().Stop();
    if (c.meanwhile == Meanwhile::NextAgain) s.control().Next();
    s.app.media.Deliver();
    EXPECT_EQ(s.Live()->path, c.plays) << c.what;
    EXPECT_EQ(s.control().State(), c.state) << c.what;
    EXPECT_EQ(s.control().CurrentEntry(), c.current) << c.what;
    EXPECT_EQ(s.Live()->running, c.state == PlaybackState::Playing) << c.what;
    EXPECT_EQ(s.app.desktop.messages.size(), c.meanwhile == Meanwhile::NoSound ? 1u : 0u) << c.what;
  }
}

TEST(ControlSurface, ASlowlyOpenedTrackIsShownWhenItIsReady) {
  SurfaceApp s;
  s.ThreeTracks();
  s.app.media.files["/m/b.mp3"].slow = true;
  s.control().Play();
  s.control().Next();
  s.observer.calls = 0;
  s.app.media.Deliver();
  EXPECT_EQ(s.control().DurationSeconds(), 60);
  EXPECT_TRUE(s.app.ctx.timeBar().scale().shortTrack);
  EXPECT_EQ(s.Live()->volume, VolumeOfLevel(s.control().Volume()));
  EXPECT_EQ(s.Live()->following, "/m/c.mp3");
  EXPECT_EQ(s.observer.calls, 1);
  EXPECT_TRUE(s.app.desktop.player.presented == s.app.face());
  s.drive.TickAt(1);
  EXPECT_EQ(facecheck::FillWidth(s.app.face()), 3);  // a 60 s track: two pixels a second, three at first
}

}  // namespace
}  // namespace kestrafon
