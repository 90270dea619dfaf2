#pragma once
// Fakes of the seam for unit tests: a scripted media framework, a text
// renderer that records what it was asked to draw, window hosts that record
// their effects, and a desktop that owns them. Everything is in memory.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "seam/desktop.h"
#include "seam/media.h"
#include "seam/text_renderer.h"
#include "seam/skin_images.h"
#include "skin/layout.h"

namespace kestrafon::fakes {

// A media file as the fake framework knows it.
struct FakeTrack {
  double duration = 0;
  bool renders = true;
  bool durationFails = false;
  bool noOutput = false;  // renders nothing: no sound output opens
  bool slow = false;      // OpenFile answers only when the test delivers the events
  seam::TrackText text = {};  // what its tags say
};

struct FakeGraphState {
  std::string path;
  bool running = false;
  bool paused = false;
  bool stopped = false;
  bool released = false;  // the graph object was destroyed
  double position = 0;
  double duration = 0;
  std::optional<long> volume;
  bool volumeFails = false;
  bool outputLost = false;  // the sound output went away
  std::string following;    // the readied next file; empty for none
  seam::FollowTag followTag = 0;
  std::vector<std::string> calls;
  seam::GraphEvents* events = nullptr;
};

class FakeMediaFramework : public seam::MediaFramework {
 public:
  // Files the framework can open; any other path fails to render.
  std::map<std::string, FakeTrack> files;
  bool createFails = false;
  // Every graph ever made, in order, including those that failed to render.
  std::vector<std::shared_ptr<FakeGraphState>> graphs;

  std::unique_ptr<seam::MediaGraph> CreateGraph(seam::GraphEvents& events) override;
  FakeGraphState& last() { return *graphs.back(); }
  // The graph plays its file to the end: the followed file takes over at its
  // start, or, with none, the position reads the duration. What the graph
  // reports waits in the event queue until Deliver.
  void PlayToEnd(FakeGraphState& graph);
  // The sound output goes away under the graph.
  void LoseOutput(FakeGraphState& graph);
  // Runs the queued events in order, as the window's event loop would; those
  // of a graph destroyed meanwhile are never told.
  void Deliver();
  // Events reported but not yet delivered.
  std::deque<std::pair<std::shared_ptr<FakeGraphState>, std::function<void(seam::GraphEvents&)>>> queued;
  void Queue(FakeGraphState& graph, std::function<void(seam::GraphEvents&)> event);
};

struct DrawnText {
  const Image* target;
  int x, y;
  std::string text;
  Rgb color;
};

// Records each text and marks the target's pixel at (x, y) (when inside) in
// the text's colour, so tests of the pixels can see where text went.
class RecordingTextRenderer : public seam::TextRenderer {
 public:
  std::vector<DrawnText> drawn;
  void DrawText(Image& target, int x, int y, std::string_view utf8, Rgb color) override;
  std::vector<DrawnText> On(const Image& target) const;
};

// One rounded outline as the window was given it.
struct RoundedRegion {
  int width, height, ellipseW, ellipseH;
  friend bool operator==(const RoundedRegion&, const RoundedRegion&) = default;
};

class FakeFormHost : public seam::FormHost {
 public:
  seam::FormEventSink* sink = nullptr;
  bool visible = false;
  seam::WindowState state = seam::WindowState::Normal;
  bool topMost = false;
  int topMostCalls = 0;
  int presents = 0;
  Rect lastDirty;
  Image presented;  // what the window shows
  std::vector<int> regions;  // width of each rounded region set
  std::vector<RoundedRegion> outlines;  // each rounded region set, whole
  seam::Point position{100, 100};
  seam::Point size{303, 202};
  int drags = 0;
  std::function<void()> duringDrag;  // runs inside the move loop
  std::vector<std::string>* log = nullptr;  // shared effect log, when given
  std::string name;

  void SetEventSink(seam::FormEventSink* s) override { sink = s; }
  void SetVisible(bool v) override { visible = v; Log(v ? "show" : "hide"); }
  bool IsVisible() const override { return visible; }
  void SetWindowState(seam::WindowState s) override {
    state = s;
    Log(s == seam::WindowState::Minimised ? "minimise" : "normal");
  }
  void Present(const Image& face, Rect dirty) override;
  void SetRoundedRegion(int w, int h, int ew, int eh) override {
    regions.push_back(w);
    outlines.push_back({w, h, ew, eh});
  }
  void SetTopMost(bool t) override {
    topMost = t;
    ++topMostCalls;
    visible = true;
    Log(t ? "topmost" : "notopmost");
  }
  seam::Point Position() const override { return position; }
  seam::Point OuterSize() const override { return size; }
  void Move(seam::Point p) override { position = p; }
  void DragMove() override {
    ++drags;
    if (duringDrag) duringDrag();
  }
  void Log(const std::string& what) {
    if (log) log->push_back(name + ":" + what);
  }
};

class FakeDesktop : public seam::Desktop, public seam::TickSource, public seam::Tray,
                    public seam::FileDialogs {
 public:
  FakeDesktop();
  std::vector<std::string> log;  // window, tray and dialog effects in order
  FakeFormHost player;
  FakeFormHost* playlist = nullptr;  // the live playlist host, if any
  int playlistHostsCreated = 0;

  int armedInterval = 0;
  std::function<void()> onTick;
  bool trayAvailable = true;
  bool trayShown = false;
  std::function<void(seam::TrayEvent)> onTray;
  int pendingEventRuns = 0;
  std::function<void()> pendingEvents;  // what runs when pending events are processed
  bool quit = false;

  // Answers of the next dialogs (empty or nullopt = cancelled) and what was asked.
  std::deque<std::vector<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::vector<seam::FileDialogRequest> openRequests, saveRequests;
  struct Message {
    std::string title, text;
  };
  std::vector<Message> messages;  // every message box shown, in order

  // Desktop
  seam::FormHost& PlayerHost() override { return player; }
  std::unique_ptr<seam::FormHost> CreatePlaylistHost() override;
  seam::TickSource& Ticks() override { return *this; }
  seam::Tray& TrayIcon() override { return *this; }
  seam::FileDialogs& Dialogs() override { return *this; }
  void ProcessPendingEvents() override {
    ++pendingEventRuns;
    if (pendingEvents) pendingEvents();
  }
  void Quit() override { quit = true; log.push_back("quit"); }
  void SetFirstPaintHandler(std::function<void()> h) override { onFirstPaint = std::move(h); }
  void SetFilesDroppedHandler(seam::FilesDroppedHandler h) override { onFilesDropped = std::move(h); }
  void SetMediaKeyHandler(std::function<void(seam::MediaKey)> h) override { onMediaKey = std::move(h); }
  std::function<void(seam::MediaKey)> onMediaKey;
  std::function<void()> onFirstPaint;
  seam::FilesDroppedHandler onFilesDropped;

  // TickSource
  void Arm(int intervalMs) override { armedInterval = intervalMs; }
  void SetHandler(std::function<void()> h) override { onTick = std::move(h); }
  void Tick() { if (armedInterval > 0 && onTick) onTick(); }

  // Tray
  bool Add(const std::string& tip, std::function<void(seam::TrayEvent)> e) override {
    trayTip = tip;
    trayShown = trayAvailable;
    onTray = std::move(e);
    log.push_back("tray:add");
    return trayAvailable;
  }
  void Remove() override { trayShown = false; log.push_back("tray:remove"); }
  // The icon went in at Add and the tray is still there.
  bool HasIcon() const override { return trayShown && trayAvailable; }
  std::string trayTip;

  // FileDialogs
  std::vector<std::string> ShowOpen(const seam::FileDialogRequest& r) override;
  std::optional<std::string> ShowSave(const seam::FileDialogRequest& r) override;
  void ShowMessage(const std::string& title, const std::string& text) override {
    messages.push_back({title, text});
    log.push_back("dialog:message");
  }
};

// Skin images whose every pixel encodes which image it is and its own
// coordinates, so each copy can be checked to the pixel.
SkinImages CoordinateSkin();
// The pixel a coordinate image holds at (x, y).
std::uint32_t CoordinatePixel(int imageId, int x, int y);
inline constexpr int kFaceId = 1, kPlaylistId = 2, kButtonsId = 3, kPartsId = 4;

}  // namespace kestrafon::fakes
