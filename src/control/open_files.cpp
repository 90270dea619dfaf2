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

void OpenLaunches(PlayerControl& control, WindowCommands& windows, seam::FileDialogs& dialogs, const TextBook& texts,
                  const std::vector<Launch>& launches) {
  std::vector<SkippedFile> skipped;
  for (const Launch& launch : launches) {
    if (launch.files.empty()) {
      windows.Raise();
    } else if (launch.enqueue) {
      AddFilesAndRepaint(control, windows, launch.files);
    } else {
      AddFilesAndPlay(control, windows, launch.files);
    }
    skipped.insert(skipped.end(), launch.skipped.begin(), launch.skipped.end());
  }
  if (!skipped.empty()) dialogs.ShowMessage(texts.Say(UiText::SkippedTitle), SkippedMessage(texts, skipped));
}

}  // namespace kestrafon
