#pragma once
// The start-up both programs share, once the entry point has built its
// backends and the application context: what the desktop's ways in need,
// then loading and showing the player, then the files it was started with.
#include <string>
#include <vector>

#include "app/app_context.h"
#include "control/command_line.h"
#include "control/window_commands.h"

namespace kestrafon {

// Quit, Raise and the row repaint for the desktop's ways in, as the close
// button, the tray icon and the Add button do them.
class PlayerWindowCommands final : public WindowCommands {
 public:
  explicit PlayerWindowCommands(AppContext& ctx) : ctx_(ctx) {}
  void Quit() override { ctx_.playerWindow().Close(); }
  void Raise() override { ctx_.playerWindow().Restore(); }
  void PaintRows() override { ctx_.tracks().PaintRows(); }

 private:
  AppContext& ctx_;
};

struct StartOptions {
  // Files to add at once, the first of them played (the command line's,
  // already checked and made absolute).
  std::vector<std::string> files;
  // Files of the command line that were left out, said once in a message box
  // after the player shows (for a program without a console).
  std::vector<SkippedFile> skipped;
  // Add the files without playing them (--enqueue).
  bool enqueue = false;
  // Print one line on standard error once the face is first on screen
  // (for the end-to-end tests and the start-up benchmark).
  bool traceFirstPaint = false;
};

// Files dropped on a window are added as Add adds them and media keys run
// their commands; the player loads and shows; then the given files are
// added and the first of them plays, and the files left out are named.
void StartPlayer(AppContext& ctx, WindowCommands& windows, const StartOptions& options);

}  // namespace kestrafon
