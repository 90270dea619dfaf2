// The Add and Save buttons' file dialogs, and turning the user's choice
// into list entries.
#include "model/paths.h"
#include "windows/playlist_window.h"

namespace kestrafon {

namespace {

// The open dialog shows MP3 files first; its description uses half-width
// katakana, the save dialog's full-width: each exactly as the user knows it.
constexpr const char* kOpenTitle = "ファイルを選択して下さい。";
constexpr const char* kOpenFilter = "mp3(*.mp3)|*.mp3|KFLﾌｧｲﾙ (*.kfl)|*.kfl";
constexpr const char* kOpenDefaultExtension = ".mp3";
constexpr const char* kSaveTitle = "名前を付けてファイルの保存";
constexpr const char* kSaveFilter = "KFLファイル(*.kfl)|*.kfl";
constexpr const char* kSaveDefaultExtension = ".kfl";

platform::FileDialogRequest OpenRequest(const std::string& lastDir) {
  platform::FileDialogRequest request;
  request.title = kOpenTitle;
  request.filter = kOpenFilter;
  request.defaultExtension = kOpenDefaultExtension;
  request.initialDirectory = lastDir;
  request.allowMultiple = true;
  return request;
}

platform::FileDialogRequest SaveRequest(const std::string& lastDir) {
  platform::FileDialogRequest request;
  request.title = kSaveTitle;
  request.filter = kSaveFilter;
  request.defaultExtension = kSaveDefaultExtension;
  request.initialDirectory = lastDir;
  request.promptOverwrite = true;
  return request;
}

}  // namespace

std::vector<std::string> PlaylistWindow::ShowOpenDialog() {
  std::vector<std::string> paths = desktop_.Dialogs().ShowOpen(OpenRequest(lastDir_));
  // The next dialog starts where the chosen files lie.
  if (!paths.empty()) {
    if (std::optional<std::string> folder = FolderOf(paths.front())) lastDir_ = std::move(*folder);
  }
  return paths;
}

std::string PlaylistWindow::ShowSaveDialog() {
  const std::optional<std::string> answer = desktop_.Dialogs().ShowSave(SaveRequest(lastDir_));
  if (!answer) return {};
  const std::string path = answer->substr(0, answer->find('\0'));
  if (path.empty()) return {};
  if (const std::optional<std::string> dir = SaveDialogDir(path)) lastDir_ = *dir;
  return path;
}

void PlaylistWindow::AddFromDialog() { control_.AddFiles(ShowOpenDialog()); }

}  // namespace kestrafon
