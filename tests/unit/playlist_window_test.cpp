#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fixtures/scratch_files.h"
#include "fakes/test_app.h"
#include "windows/list_buttons.h"
#include "model/playlist_file.h"

namespace kestrafon {
namespace {

using fakes::CoordinatePixel;
using fakes::FakeFormHost;
using fakes::kButtonsId;
using fakes::kPlaylistId;
using fakes::TestApp;
using namespace std::string_literals;
using Entries = std::vector<std::string>;

// A started player with its playlist window shown.
struct ListApp : TestApp {
  ListApp() {
    Start();
    ctx.playlistWindow().Show();
  }
  FakeFormHost& list() { return *desktop.playlist; }
  // As the platform delivers it: through the window's event sink.
  void Press(double x, double y, int button = seam::kLeftButton) { list().sink->OnMouseDown(button, x, y); }
  void Fill(int n) {
    for (int i = 1; i <= n; ++i) ctx.tracks().Append("/m/" + std::to_string(i) + ".mp3");
  }
  Entries List() const {
    Entries out;
    for (std::int32_t i = 1; i <= ctx.tracks().Count(); ++i) out.push_back(ctx.tracks().PathAt(i));
    return out;
  }
  std::pair<std::int32_t, std::int32_t> Range() {
    const VisibleRows rows = ctx.tracks().Visible();
    return {rows.first, rows.last};
  }
  std::size_t RowsDrawn() const { return text.On(*ctx.playlistWindow().faceImage()).size(); }
};

using fixtures::ReadBytes;
using ScratchDir = fixtures::TempDir;

// --- Placement and outline -------------------------------------------------

TEST(PlaylistWindow, OpensFlushRightOfThePlayerWithTopsAligned) {
  TestApp app;
  app.desktop.player.position = {250, 80};
  app.desktop.player.size = {303, 202};
  app.Start();
  app.ctx.playlistWindow().Show();
  ASSERT_NE(app.desktop.playlist, nullptr);
  EXPECT_EQ(app.desktop.playlist->position, (seam::Point{553, 80}));
  EXPECT_TRUE(app.desktop.playlist->visible);

  // It stays put when the player moves; a fresh load places it again.
  app.desktop.player.position = {10, 20};
  app.ctx.playlistWindow().Show();
  EXPECT_EQ(app.desktop.playlist->position, (seam::Point{553, 80}));
  app.ctx.playlistWindow().Unload();
  app.ctx.playlistWindow().Show();
  EXPECT_EQ(app.desktop.playlist->position, (seam::Point{313, 20}));
}

TEST(PlaylistWindow, OutlineFollowsTheWindowSize) {
  ListApp app;
  app.list().sink->OnResize();
  app.list().size = {240, 250};
  app.list().sink->OnResize();
  EXPECT_EQ(app.list().regions, (std::vector<int>{201, 240}));
}

// --- Face buttons ----------------------------------------------------------

enum class Did { Nothing, Add, Remove, Clear, Save };

// What a press at (x, y) does on a fresh window holding three entries.
Did PressOutcome(double x, double y, int button = seam::kLeftButton, int* drags = nullptr) {
  ListApp app;
  app.Fill(3);
  app.Press(x, y, button);
  if (drags) *drags = app.list().drags;
  if (!app.desktop.openRequests.empty()) return Did::Add;
  if (!app.desktop.saveRequests.empty()) return Did::Save;
  if (app.ctx.tracks().Count() == 0) return Did::Clear;
  if (app.ctx.tracks().Count() == 2) return Did::Remove;
  return Did::Nothing;
}

TEST(PlaylistButtons, HitAreasIncludeTheirEdges) {
  struct Case {
    double x, y;
    Did did;
  };
  const Case cases[] = {
      {14, 181, Did::Add},     {39, 181, Did::Add},     {14, 190, Did::Add},     {39, 190, Did::Add},
      {55, 185, Did::Remove},  {84, 185, Did::Remove},  {103, 185, Did::Clear},  {145, 185, Did::Clear},
      {163, 181, Did::Save},   {187, 190, Did::Save},   {13.9, 185, Did::Nothing}, {40, 185, Did::Nothing},
      {54, 185, Did::Nothing}, {85, 185, Did::Nothing}, {102, 185, Did::Nothing}, {146, 185, Did::Nothing},
      {150, 185, Did::Nothing}, {162, 185, Did::Nothing}, {188, 185, Did::Nothing}, {20, 191, Did::Nothing},
      {20, 180, Did::Nothing}, {70, 190.5, Did::Nothing}, {100, 50, Did::Nothing}, {0, 0, Did::Nothing},
  };
  for (const Case& c : cases) {
    int drags = 0;
    EXPECT_EQ(PressOutcome(c.x, c.y, seam::kLeftButton, &drags), c.did) << c.x << "," << c.y;
    EXPECT_EQ(drags, 1) << "every press moves the window, " << c.x << "," << c.y;
  }
}

TEST(PlaylistButtons, EveryMouseButtonActsTheSame) {
  for (int button : {seam::kLeftButton, seam::kRightButton, seam::kMiddleButton}) {
    EXPECT_EQ(PressOutcome(20, 185, button), Did::Add) << button;
    EXPECT_EQ(PressOutcome(70, 185, button), Did::Remove) << button;
    EXPECT_EQ(PressOutcome(120, 185, button), Did::Clear) << button;
    EXPECT_EQ(PressOutcome(170, 185, button), Did::Save) << button;
    EXPECT_EQ(PressOutcome(150, 185, button), Did::Nothing) << button;
  }
}

TEST(PlaylistButtons, TheWindowMovesFirstAndTheButtonActsAtThePressPosition) {
  ListApp app;
  app.list().duringDrag = [&] {
    app.desktop.log.push_back("drag");
    app.list().position = {0, 0};
  };
  app.Press(20, 185);
  const auto& log = app.desktop.log;
  const auto drag = std::find(log.begin(), log.end(), "drag");
  const auto dialog = std::find(log.begin(), log.end(), "dialog:open");
  ASSERT_NE(drag, log.end());
  ASSERT_NE(dialog, log.end());
  EXPECT_LT(drag, dialog);
}

// --- Remove ----------------------------------------------------------------

TEST(PlaylistRemove, DropsTheSelectedEntryAndFollowsTheCurrentTrack) {
  struct Case {
    std::int32_t current, after;
  };
  // Before, on and after the removed row 3.
  for (const Case c : {Case{2, 2}, Case{3, 3}, Case{4, 3}, Case{5, 4}}) {
    ListApp app;
    app.Fill(5);
    app.ctx.tracks().SelectEntry(3);
    app.ctx.tracks().SetCurrentEntry(c.current);
    const std::size_t rowsBefore = app.RowsDrawn();
    app.Press(70, 185);
    EXPECT_EQ(app.List(), (Entries{"/m/1.mp3", "/m/2.mp3", "/m/4.mp3", "/m/5.mp3"})) << c.current;
    EXPECT_EQ(app.ctx.tracks().CurrentEntry(), c.after) << c.current;
    EXPECT_EQ(app.ctx.tracks().SelectedEntry(), 3);
    EXPECT_EQ(app.Range(), std::make_pair(1, 13));
    EXPECT_EQ(app.RowsDrawn(), rowsBefore + 4) << "the four rows are painted again";
  }
}

TEST(PlaylistRemove, LeavesPlaybackAlone) {
  ListApp app;
  app.AddTracks({{"/m/a.mp3", 100}, {"/m/b.mp3", 100}});
  app.ctx.tracks().SelectEntry(1);
  app.ctx.control().PlayEntry(1);
  app.Press(70, 185);
  EXPECT_EQ(app.List(), Entries{"/m/b.mp3"});
  ASSERT_EQ(app.media.graphs.size(), 1u);
  EXPECT_TRUE(app.media.last().running);
  EXPECT_TRUE(app.ctx.tracks().IsPlaying());
  EXPECT_EQ(app.ctx.tracks().CurrentEntry(), 1) << "now names the entry that followed";
}

TEST(PlaylistRemove, SingleEntryEmptiesTheList) {
  ListApp app;
  app.Fill(1);
  app.Press(70, 185);
  EXPECT_EQ(app.ctx.tracks().Count(), 0);
  EXPECT_EQ(app.ctx.tracks().CurrentEntry(), 1);
}

TEST(PlaylistRemove, SelectionPastTheEndDropsTheLastEntry) {
  ListApp app;
  app.Fill(5);
  app.ctx.tracks().SelectEntry(5);
  app.Press(70, 185);  // the selected last entry goes; the selection stays at 5
  EXPECT_EQ(app.ctx.tracks().SelectedEntry(), 5);
  app.Press(70, 185);
  EXPECT_EQ(app.List(), (Entries{"/m/1.mp3", "/m/2.mp3", "/m/3.mp3"}));

  // After Clear and a shorter list the selection lies beyond it, too.
  app.Press(120, 185);
  app.Fill(2);
  app.Press(70, 185);
  EXPECT_EQ(app.List(), Entries{"/m/1.mp3"});
}

TEST(PlaylistRemove, EmptyListDoesNothing) {
  ListApp app;
  app.ctx.tracks().SetCurrentEntry(4);
  app.Press(70, 185);
  EXPECT_EQ(app.ctx.tracks().Count(), 0);
  EXPECT_EQ(app.ctx.tracks().CurrentEntry(), 4);
}

// --- Clear -----------------------------------------------------------------

TEST(PlaylistClear, EmptiesTheListAndTheRowsButNotPlayback) {
  ListApp app;
  app.AddTracks({{"/m/a.mp3", 100}, {"/m/b.mp3", 100}, {"/m/c.mp3", 100}});
  app.ctx.tracks().SelectEntry(2);
  app.ctx.control().PlayEntry(3);
  const Image& rows = *app.ctx.playlistWindow().faceImage();
  ASSERT_NE(rows.Pixel(10, 15), CoordinatePixel(kPlaylistId, 10, 15)) << "a row is painted";
  app.ctx.tracks().SetVisible({2, 14});
  const std::size_t drawn = app.RowsDrawn();

  app.Press(120, 185);

  EXPECT_EQ(app.ctx.tracks().Count(), 0);
  EXPECT_EQ(app.ctx.tracks().CurrentEntry(), 1);
  EXPECT_EQ(app.ctx.tracks().SelectedEntry(), 2);
  EXPECT_EQ(app.Range(), std::make_pair(2, 14));
  EXPECT_EQ(rows.Pixel(10, 15), CoordinatePixel(kPlaylistId, 10, 15)) << "bare face";
  EXPECT_EQ(app.list().presented.Pixel(10, 15), CoordinatePixel(kPlaylistId, 10, 15));
  EXPECT_EQ(app.RowsDrawn(), drawn);
  EXPECT_TRUE(app.media.last().running);
}

TEST(PlaylistClear, ThenEnterHandsTheEngineAnEmptyPath) {
  ListApp app;
  app.AddTracks({{"/m/a.mp3", 100}, {"/m/b.mp3", 100}});
  app.ctx.tracks().SelectEntry(2);
  app.Press(120, 185);
  app.list().sink->OnKeyDown(seam::Key::Enter);

  ASSERT_EQ(app.media.graphs.size(), 1u);
  EXPECT_EQ(app.media.last().path, "");
  EXPECT_FALSE(app.media.last().running) << "nothing rendered, nothing runs";
  EXPECT_EQ(app.ctx.engine().graph(), nullptr);
  // The player still takes its playing look and its clock starts.
  EXPECT_TRUE(app.ctx.tracks().IsPlaying());
  EXPECT_EQ(app.face().Pixel(136, 149), CoordinatePixel(kButtonsId, 115, 3));
  EXPECT_EQ(app.desktop.player.presented.Pixel(136, 149), CoordinatePixel(kButtonsId, 115, 3));
  EXPECT_EQ(app.desktop.armedInterval, 100);
  const auto clock = app.text.On(app.ctx.playerWindow().clockPanel());
  ASSERT_FALSE(clock.empty());
  EXPECT_EQ(clock.back().text, "00:00");
  EXPECT_EQ(app.ctx.tracks().CurrentEntry(), 2);
}

// --- Add and Save ----------------------------------------------------------

TEST(PlaylistDialogs, RequestsCarryTheExactTextsAndOptions) {
  ListApp app;
  app.Fill(1);
  app.Press(20, 185);
  app.Press(170, 185);
  ASSERT_EQ(app.desktop.openRequests.size(), 1u);
  ASSERT_EQ(app.desktop.saveRequests.size(), 1u);
  const seam::FileDialogRequest& open = app.desktop.openRequests[0];
  EXPECT_EQ(open.title, "ファイルを選択して下さい。");
  EXPECT_TRUE(open.filter.starts_with("mp3(*.mp3)|*.mp3|KFLﾌｧｲﾙ (*.kfl)|*.kfl|すべての音楽ファイル|*.mp3;"))
      << open.filter;
  EXPECT_TRUE(open.filter.ends_with("|すべてのプレイリスト|*.kfl;*.m3u;*.m3u8;*.pls")) << open.filter;
  EXPECT_EQ(open.defaultExtension, ".mp3");
  EXPECT_EQ(open.initialDirectory, "");
  EXPECT_TRUE(open.allowMultiple);
  EXPECT_FALSE(open.promptOverwrite);
  const seam::FileDialogRequest& save = app.desktop.saveRequests[0];
  EXPECT_EQ(save.title, "名前を付けてファイルの保存");
  EXPECT_EQ(save.filter, "KFLファイル(*.kfl)|*.kfl|M3U8ファイル(*.m3u8)|*.m3u8");
  EXPECT_EQ(save.defaultExtension, ".kfl");
  EXPECT_EQ(save.initialDirectory, "");
  EXPECT_FALSE(save.allowMultiple);
  EXPECT_TRUE(save.promptOverwrite);
}

TEST(PlaylistDialogs, DialogsAndMessagesSpeakThePlayersBook) {
  ListApp app;
  app.texts = TextBook([](UiText id) { return std::string("EN ") + UiTextEntryOf(id).key; });
  app.Fill(1);
  app.desktop.saveAnswers = {"/no/such/folder/list.kfl"};
  app.Press(20, 185);
  app.Press(170, 185);
  ASSERT_EQ(app.desktop.openRequests.size(), 1u);
  EXPECT_EQ(app.desktop.openRequests[0].title, "EN OpenTitle");
  EXPECT_TRUE(app.desktop.openRequests[0].filter.starts_with("mp3(*.mp3)|*.mp3|EN OpenKflFilter|*.kfl|EN AllMusicFilter|"));
  EXPECT_EQ(app.desktop.saveRequests[0].filter, "EN SaveKflFilter|*.kfl|EN SaveM3u8Filter|*.m3u8");
  ASSERT_EQ(app.desktop.messages.size(), 1u);
  EXPECT_EQ(app.desktop.messages[0].title, "EN SaveFailureTitle");
  EXPECT_EQ(app.desktop.messages[0].text, "EN SaveFailureText");
}

TEST(PlaylistDialogs, AddAppendsTheChosenFilesBehindTheList) {
  ListApp app;
  app.Fill(1);
  app.ctx.tracks().SetCurrentEntry(1);
  app.ctx.tracks().SelectEntry(1);
  app.desktop.openAnswers = {{"/home/u/Music/a.mp3"},
                             {"/home/u/Music/b.mp3", "/home/u/Music/c.mp3"},
                             {"/x.mp3"},
                             {"/home/u/typed but missing.mp3"}};
  for (int i = 0; i < 4; ++i) app.Press(20, 185);
  EXPECT_EQ(app.List(), (Entries{"/m/1.mp3", "/home/u/Music/a.mp3", "/home/u/Music/b.mp3", "/home/u/Music/c.mp3",
                                 "/x.mp3", "/home/u/typed but missing.mp3"}));
  EXPECT_EQ(app.ctx.tracks().CurrentEntry(), 1);
  EXPECT_EQ(app.ctx.tracks().SelectedEntry(), 1);
  EXPECT_EQ(app.Range(), std::make_pair(1, 13));
  EXPECT_EQ(app.text.On(*app.ctx.playlistWindow().faceImage()).back().text, "typed but missing.mp3") << "rows repainted";
}

TEST(PlaylistDialogs, PlaylistFilesAreReadWhereverTheyAreChosen) {
  ScratchDir dir;
  ASSERT_TRUE(WritePlaylistFile(dir.path() + "/list.KFL", {"/p/one.mp3", "/p/two.mp3"}));
  ListApp app;
  app.desktop.openAnswers = {{dir.path() + "/list.KFL"},
                             {dir.path() + "/a.mp3", dir.path() + "/list.KFL", dir.path() + "/b.mp3"}};
  app.Press(20, 185);
  EXPECT_EQ(app.List(), (Entries{"/p/one.mp3", "/p/two.mp3"}));
  app.Press(20, 185);
  EXPECT_EQ(app.List(), (Entries{"/p/one.mp3", "/p/two.mp3", dir.path() + "/a.mp3", "/p/one.mp3", "/p/two.mp3",
                                 dir.path() + "/b.mp3"}));
}

TEST(PlaylistDialogs, AMissingPlaylistFileAddsNothing) {
  ListApp app;
  app.Fill(1);
  app.desktop.openAnswers = {{"/nowhere/at/all/list.kfl"}, {"/nowhere/gone.kfl", "/nowhere/a.mp3"}};
  app.Press(20, 185);
  app.Press(20, 185);
  EXPECT_EQ(app.List(), (Entries{"/m/1.mp3", "/nowhere/a.mp3"}));
}

TEST(PlaylistDialogs, SaveWritesTheListWhereTheUserChose) {
  ScratchDir dir;
  ListApp app;
  const std::string target = dir.path() + "/mine.kfl";

  app.desktop.saveAnswers = {target};
  app.Press(170, 185);
  EXPECT_TRUE(app.desktop.saveRequests.empty()) << "an empty list asks for no file";

  app.Fill(2);
  app.Press(170, 185);
  ASSERT_EQ(app.desktop.saveRequests.size(), 1u);
  EXPECT_EQ(ReadBytes(target), "/m/1.mp3\r\n/m/2.mp3\r\n");
  EXPECT_EQ(app.List(), (Entries{"/m/1.mp3", "/m/2.mp3"}));

  // Adding the saved file brings the same entries back behind the list.
  app.desktop.openAnswers = {{target}};
  app.Press(20, 185);
  EXPECT_EQ(app.List(), (Entries{"/m/1.mp3", "/m/2.mp3", "/m/1.mp3", "/m/2.mp3"}));
}

TEST(PlaylistDialogs, CancellingChangesNothing) {
  ScratchDir dir;
  ListApp app;
  app.Fill(2);
  app.desktop.openAnswers = {{"/home/u/Music/a.mp3"}, {}, {}};
  app.desktop.saveAnswers = {std::nullopt, ""s};
  app.Press(20, 185);
  app.Press(20, 185);
  app.Press(20, 185);
  app.Press(170, 185);
  app.Press(170, 185);
  EXPECT_EQ(app.List(), (Entries{"/m/1.mp3", "/m/2.mp3", "/home/u/Music/a.mp3"}));
  EXPECT_EQ(app.ctx.playlistWindow().lastDir(), "/home/u/Music/");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(PlaylistDialogs, BothDialogsStartWhereTheLastFileWasChosen) {
  ScratchDir dir;
  ListApp app;
  app.Fill(1);
  app.desktop.openAnswers = {{"/home/u/Music/a.mp3"}, {"/srv/x.mp3", "/srv/y.mp3"}, {"/r.mp3"}};
  app.desktop.saveAnswers = {dir.path() + "/mine.kfl"};

  app.Press(20, 185);
  EXPECT_EQ(app.ctx.playlistWindow().lastDir(), "/home/u/Music/");
  app.Press(170, 185);
  EXPECT_EQ(app.desktop.saveRequests.back().initialDirectory, "/home/u/Music/");
  EXPECT_EQ(app.ctx.playlistWindow().lastDir(), dir.path()) << "without the separator";
  app.Press(20, 185);
  EXPECT_EQ(app.desktop.openRequests.back().initialDirectory, dir.path());
  EXPECT_EQ(app.ctx.playlistWindow().lastDir(), "/srv/");
  app.Press(20, 185);
  EXPECT_EQ(app.ctx.playlistWindow().lastDir(), "/");

  // Closing and reopening the window keeps it for the rest of the run.
  app.ctx.playlistWindow().Unload();
  app.ctx.playlistWindow().Show();
  app.Press(20, 185);
  EXPECT_EQ(app.desktop.openRequests.back().initialDirectory, "/");
}

}  // namespace
}  // namespace kestrafon
