#pragma once
// What every media backend's graph does, checked against the real framework:
// the same cases for GStreamer and for DirectShow. A backend instantiates the
// suite with a type that makes its framework and its test files:
//
//   static std::unique_ptr<seam::MediaFramework> MakeFramework(seam::ReadTrack read = {});
//   static std::string Tone(int seconds);     // a 440 Hz MP3 of 1 or 4 seconds
//   static std::string NotAudio();            // text in a file named .mp3
//   static std::string Missing();             // a path where no file is
//   static std::string Folder();              // a directory
//   static std::string CopyAs(const std::string& from, const std::string& utf8Name);
//                                             // a copy under a new name; empty on failure
//   static void Wait(int ms);                 // lets a graph play, running the thread's
//                                             // event loop as the window's thread would
//
// Its constructor and destructor set up and take down what the framework
// needs on the test's thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "fakes/recorded_events.h"
#include "seam/media.h"

namespace kestrafon::seam {
inline void PrintTo(const TrackText& t, std::ostream* os) { *os << "{" << t.title << " | " << t.artist << " | " << t.album << "}"; }
}  // namespace kestrafon::seam

namespace kestrafon::contracts {

template <class Backend>
class MediaGraphContract : public ::testing::Test {
 protected:
  MediaGraphContract() : framework(Backend::MakeFramework()) {}

  // A graph with `path` rendered; null when it would not render.
  std::unique_ptr<seam::MediaGraph> Rendered(const std::string& path) {
    auto graph = framework->CreateGraph(events);
    if (!graph || !graph->RenderFile(path)) return nullptr;
    return graph;
  }
  static double Position(seam::MediaGraph& graph) {
    double seconds = -1;
    EXPECT_TRUE(graph.CurrentPosition(seconds));
    return seconds;
  }
  // Polls `done` every few milliseconds for at most five seconds.
  static bool WaitFor(const std::function<bool()>& done) {
    for (int waited = 0; waited < 5000; waited += 10) {
      if (done()) return true;
      Backend::Wait(10);
    }
    return done();
  }

  Backend backend;
  fakes::RecordedEvents events;
  std::unique_ptr<seam::MediaFramework> framework;
};

TYPED_TEST_SUITE_P(MediaGraphContract);

TYPED_TEST_P(MediaGraphContract, AnMp3OpensPausedAtZeroWithItsLength) {
  auto graph = this->Rendered(TypeParam::Tone(4));
  ASSERT_TRUE(graph);
  double duration = 0;
  ASSERT_TRUE(graph->Duration(duration));
  EXPECT_NEAR(duration, 4.0, 0.06);
  EXPECT_EQ(this->Position(*graph), 0.0);
  TypeParam::Wait(100);
  EXPECT_EQ(this->Position(*graph), 0.0) << "rendered is not running";
  EXPECT_FALSE(graph->RenderFile(TypeParam::Tone(1))) << "one file per graph";
}

// Opening off the window's thread: the answer comes from the event loop,
// and an opened graph is what RenderFile makes; what will not play says so.
TYPED_TEST_P(MediaGraphContract, OpenFileAnswersFromTheEventLoop) {
  auto graph = this->framework->CreateGraph(this->events);
  ASSERT_TRUE(graph);
  graph->OpenFile(TypeParam::Tone(4));
  EXPECT_TRUE(this->events.heard.empty()) << "nothing is reported from inside a call";
  ASSERT_TRUE(this->WaitFor([&] { return !this->events.heard.empty(); }));
  EXPECT_EQ(this->events.heard, std::vector<std::string>{"opened"});
  double duration = 0;
  ASSERT_TRUE(graph->Duration(duration));
  EXPECT_NEAR(duration, 4.0, 0.06);
  EXPECT_EQ(this->Position(*graph), 0.0);
  ASSERT_TRUE(graph->Run());
  EXPECT_TRUE(this->WaitFor([&] { return this->Position(*graph) > 0.1; }));

  for (const std::string& path : {TypeParam::Missing(), std::string(), TypeParam::Folder(), TypeParam::NotAudio()}) {
    fakes::RecordedEvents heard;
    auto bad = this->framework->CreateGraph(heard);
    ASSERT_TRUE(bad);
    bad->OpenFile(path);
    EXPECT_TRUE(this->WaitFor([&] { return !heard.heard.empty(); })) << "'" << path << "'";
    EXPECT_EQ(heard.heard, std::vector<std::string>{"not opened"}) << "'" << path << "'";
    double seconds = 0;
    EXPECT_FALSE(bad->Duration(seconds));
    EXPECT_FALSE(bad->Run());
  }
  // A graph dropped while it opens goes at once, and tells nothing.
  fakes::RecordedEvents dropped;
  auto opening = this->framework->CreateGraph(dropped);
  opening->OpenFile(TypeParam::Tone(1));
  opening.reset();
  TypeParam::Wait(300);
  EXPECT_TRUE(dropped.heard.empty());
}

TYPED_TEST_P(MediaGraphContract, NamesOutsideTheCodePageOpen) {
  const std::string odd = TypeParam::CopyAs(TypeParam::Tone(1), "\xE3\x83\x88\xED\x95\x9C \xC3\xBC.mp3");  // ト한 ü
  ASSERT_FALSE(odd.empty());
  auto graph = this->Rendered(odd);
  ASSERT_TRUE(graph);
  double duration = 0;
  ASSERT_TRUE(graph->Duration(duration));
  EXPECT_NEAR(duration, 1.0, 0.06);
}

TYPED_TEST_P(MediaGraphContract, WhatIsNoSoundFailsAndTheFailedGraphRefusesEveryCall) {
  for (const std::string& path : {TypeParam::Missing(), std::string(), TypeParam::Folder(), TypeParam::NotAudio()})
    EXPECT_FALSE(this->Rendered(path)) << "'" << path << "'";

  auto graph = this->framework->CreateGraph(this->events);
  ASSERT_TRUE(graph);
  ASSERT_FALSE(graph->RenderFile(TypeParam::Missing()));
  double seconds = 0;
  EXPECT_FALSE(graph->Run());
  EXPECT_FALSE(graph->Pause());
  EXPECT_FALSE(graph->Stop());
  EXPECT_FALSE(graph->Duration(seconds));
  EXPECT_FALSE(graph->CurrentPosition(seconds));
  EXPECT_FALSE(graph->PutCurrentPosition(0));
  EXPECT_FALSE(graph->PutVolume(0));
}

TYPED_TEST_P(MediaGraphContract, PauseHoldsThePositionAndRunResumes) {
  auto graph = this->Rendered(TypeParam::Tone(4));
  ASSERT_TRUE(graph);
  ASSERT_TRUE(graph->PutVolume(-480));
  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(this->WaitFor([&] { return this->Position(*graph) >= 0.3; }));
  ASSERT_TRUE(graph->Pause());
  const double paused = this->Position(*graph);
  EXPECT_GE(paused, 0.3);
  TypeParam::Wait(200);
  EXPECT_NEAR(this->Position(*graph), paused, 0.02) << "paused means still";

  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(this->WaitFor([&] { return this->Position(*graph) > paused + 0.1; }));
  EXPECT_LT(this->Position(*graph), paused + 1.0) << "resumed where it paused, not elsewhere";
}

TYPED_TEST_P(MediaGraphContract, StopKeepsThePositionAndRewindingStartsAgain) {
  auto graph = this->Rendered(TypeParam::Tone(4));
  ASSERT_TRUE(graph);
  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(this->WaitFor([&] { return this->Position(*graph) >= 0.4; }));
  ASSERT_TRUE(graph->Stop());
  const double stopped = this->Position(*graph);
  TypeParam::Wait(100);
  EXPECT_NEAR(this->Position(*graph), stopped, 0.1) << "stop keeps the position";

  ASSERT_TRUE(graph->PutCurrentPosition(0));
  EXPECT_EQ(this->Position(*graph), 0.0);
  TypeParam::Wait(100);
  EXPECT_EQ(this->Position(*graph), 0.0) << "a stopped graph stays at 0";

  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(this->WaitFor([&] { return this->Position(*graph) > 0.0; }));
  EXPECT_LT(this->Position(*graph), 1.0) << "running again starts from the beginning";
}

TYPED_TEST_P(MediaGraphContract, AtTheEndThePositionReadsExactlyTheDuration) {
  auto graph = this->Rendered(TypeParam::Tone(1));
  ASSERT_TRUE(graph);
  double duration = 0;
  ASSERT_TRUE(graph->Duration(duration));
  ASSERT_TRUE(graph->Run());
  double last = 0;
  bool steady = true;
  EXPECT_TRUE(this->WaitFor([&] {
    const double now = this->Position(*graph);
    steady = steady && now >= last && now <= duration;
    last = now;
    return now == duration;
  })) << "last position " << last << " of " << duration;
  EXPECT_TRUE(steady) << "the position never runs back or past the end";
  EXPECT_TRUE(this->WaitFor([&] { return this->events.Heard("ended"); })) << "the end is reported";
  TypeParam::Wait(50);
  EXPECT_EQ(this->Position(*graph), duration) << "the end stays put";
  EXPECT_EQ(this->events.heard, std::vector<std::string>{"ended"}) << "once";

  // Rewound after the end, the graph starts again from 0.
  ASSERT_TRUE(graph->Stop());
  ASSERT_TRUE(graph->PutCurrentPosition(0));
  EXPECT_EQ(this->Position(*graph), 0.0);
}

// A followed file takes over at the end of the stream: the position never
// reads the end of the first, the graph says which file started, and from
// then on it describes the second, to its own exact end.
TYPED_TEST_P(MediaGraphContract, AFollowedFileTakesOverWhereTheCurrentOneEnds) {
  auto graph = this->Rendered(TypeParam::Tone(1));
  ASSERT_TRUE(graph);
  double duration = 0;
  ASSERT_TRUE(graph->Duration(duration));
  graph->Follow(TypeParam::Tone(4), 7);
  EXPECT_TRUE(this->events.heard.empty()) << "nothing is reported from inside a call";
  ASSERT_TRUE(graph->PutVolume(-480));
  ASSERT_TRUE(graph->Run());
  bool reachedTheEnd = false;
  ASSERT_TRUE(this->WaitFor([&] {
    reachedTheEnd = reachedTheEnd || this->Position(*graph) == duration;
    return this->events.Heard("started 7");
  }));
  EXPECT_FALSE(reachedTheEnd) << "the first file's end is where the second starts";
  ASSERT_TRUE(graph->Duration(duration));
  EXPECT_NEAR(duration, 4.0, 0.06);
  EXPECT_LT(this->Position(*graph), 0.5);
  ASSERT_TRUE(this->WaitFor([&] { return this->Position(*graph) > 0.2; })) << "the second file plays";
  EXPECT_EQ(this->events.heard, std::vector<std::string>{"started 7"}) << "told once, and nothing else";
}

// What cannot follow is reported by its tag, and what was readied can be
// dropped: the stream then ends as it would have alone.
TYPED_TEST_P(MediaGraphContract, WithNothingToFollowTheStreamEndsAsAlone) {
  auto graph = this->Rendered(TypeParam::Tone(1));
  ASSERT_TRUE(graph);
  const std::vector<std::string> bad{TypeParam::Missing(), TypeParam::Folder(), TypeParam::NotAudio()};
  for (std::size_t i = 0; i < bad.size(); ++i) {
    graph->Follow(bad[i], i + 1);
    EXPECT_TRUE(this->WaitFor([&] { return this->events.Heard("failed " + std::to_string(i + 1)); })) << bad[i];
  }
  graph->Follow(TypeParam::Tone(4), 8);
  graph->Follow("", 0);
  double duration = 0;
  ASSERT_TRUE(graph->Duration(duration));
  ASSERT_TRUE(graph->Run());
  EXPECT_TRUE(this->WaitFor([&] { return this->Position(*graph) == duration && this->events.Heard("ended"); }));
  EXPECT_FALSE(this->events.Heard("started 8"));
}

// What a file's tags say is the graph's to tell from the moment that file
// plays: once opened, and once it took over as a follower; never before.
TYPED_TEST_P(MediaGraphContract, ThePlayingFileTellsWhatItsTagsSay) {
  const seam::TrackText tagged{"Four", "Tone Maker", "Tones"};
  const std::string four = TypeParam::Tone(4);
  auto framework = TypeParam::MakeFramework([four, tagged](const std::string& path) {
    return path == four ? seam::TrackFacts{1.0, tagged} : seam::TrackFacts{};
  });
  auto opened = framework->CreateGraph(this->events);
  ASSERT_TRUE(opened);
  opened->OpenFile(four);
  ASSERT_TRUE(this->WaitFor([&] { return this->events.Heard("opened"); }));
  EXPECT_EQ(opened->PlayingText(), tagged);

  auto graph = framework->CreateGraph(this->events);
  ASSERT_TRUE(graph && graph->RenderFile(TypeParam::Tone(1)));
  EXPECT_EQ(graph->PlayingText(), seam::TrackText{}) << "an untagged file says nothing";
  graph->Follow(four, 9);
  TypeParam::Wait(300);  // readied, paused at the start of the first
  EXPECT_EQ(graph->PlayingText(), seam::TrackText{}) << "not the follower's before it plays";
  ASSERT_TRUE(graph->Run());
  ASSERT_TRUE(this->WaitFor([&] { return this->events.Heard("started 9"); }));
  EXPECT_EQ(graph->PlayingText(), tagged);
}

REGISTER_TYPED_TEST_SUITE_P(MediaGraphContract, AnMp3OpensPausedAtZeroWithItsLength,
                            OpenFileAnswersFromTheEventLoop, NamesOutsideTheCodePageOpen,
                            WhatIsNoSoundFailsAndTheFailedGraphRefusesEveryCall,
                            PauseHoldsThePositionAndRunResumes, StopKeepsThePositionAndRewindingStartsAgain,
                            AtTheEndThePositionReadsExactlyTheDuration,
                            AFollowedFileTakesOverWhereTheCurrentOneEnds, WithNothingToFollowTheStreamEndsAsAlone,
                            ThePlayingFileTellsWhatItsTagsSay);

}  // namespace kestrafon::contracts
