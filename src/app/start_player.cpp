#include "app/start_player.h"

#include <cstdio>

#include "control/media_keys.h"
#include "control/open_files.h"

namespace kestrafon {

void StartPlayer(AppContext& ctx, WindowCommands& windows, const StartOptions& options) {
  seam::Desktop& desktop = ctx.desktop();
  if (options.traceFirstPaint) {
    desktop.SetFirstPaintHandler([] {
      std::fputs("kestrafon: first frame presented\n", stderr);
      std::fflush(stderr);
    });
  }
  desktop.SetFilesDroppedHandler(
      [&ctx, &windows](const std::vector<std::string>& paths) { AddFilesAndRepaint(ctx.control(), windows, paths); });
  desktop.SetMediaKeyHandler([&ctx](MediaKey key) { PressMediaKey(ctx.control(), key); });
  ctx.playerWindow().Load();
  desktop.PlayerHost().SetVisible(true);
  if (options.enqueue) {
    if (!options.files.empty()) AddFilesAndRepaint(ctx.control(), windows, options.files);
  } else if (!options.files.empty()) {
    AddFilesAndPlay(ctx.control(), windows, options.files);
  }
  if (!options.skipped.empty()) desktop.Dialogs().ShowMessage(kSkippedTitle, SkippedMessage(options.skipped));
}

}  // namespace kestrafon
