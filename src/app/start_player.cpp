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
  // A start with nothing to open leaves the player as it shows.
  if (options.files.empty() && options.skipped.empty()) return;
  OpenLaunches(ctx.control(), windows, desktop.Dialogs(), ctx.texts(), {{0, options.enqueue, options.files, options.skipped}});
}

}  // namespace kestrafon
