#include "app/start_player.h"

#include <cstdio>

#include "control/open_files.h"

namespace kestrafon {

void StartPlayer(AppContext& ctx, WindowCommands& windows, const StartOptions& options) {
  platform::Desktop& desktop = ctx.desktop();
  if (options.traceFirstPaint) {
    desktop.SetFirstPaintHandler([] {
      std::fputs("kestrafon: first frame presented\n", stderr);
      std::fflush(stderr);
    });
  }
  desktop.SetFilesDroppedHandler(
      [&ctx, &windows](const std::vector<std::string>& paths) { AddFilesAndRepaint(ctx.control(), windows, paths); });
  ctx.playerWindow().Load();
  desktop.PlayerHost().SetVisible(true);
  if (!options.files.empty()) AddFilesAndPlay(ctx.control(), windows, options.files);
}

}  // namespace kestrafon
