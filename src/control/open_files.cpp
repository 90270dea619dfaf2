#include "control/open_files.h"

namespace kestrafon {

std::int32_t AddFilesAndRepaint(PlayerControl& control, WindowCommands& windows,
                                const std::vector<std::string>& paths) {
  const std::int32_t added = control.AddFiles(paths);
  if (!paths.empty()) windows.PaintRows();
  return added;
}

bool AddFilesAndPlay(PlayerControl& control, WindowCommands& windows, const std::vector<std::string>& paths) {
  const std::int32_t countBefore = control.EntryCount();
  if (AddFilesAndRepaint(control, windows, paths) <= 0) return false;
  control.PlayEntry(countBefore + 1);
  return true;
}

}  // namespace kestrafon
