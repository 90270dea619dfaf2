// The Add and Save buttons' file dialogs, and turning the user's choice
// into list entries.
#include "model/audio_file_types.h"
#include "model/paths.h"
#include "windows/playlist_window.h"

namespace kestrafon {

namespace {

// The open dialog shows MP3 files first, then .kfl lists, then every audio
// file and every list this build reads; the first description uses half-width
// katakana, the save dialog's full-width: each exactly as the user knows it.
seam::FileDialogRequest OpenRequest(const TextBook& texts, const std::string& lastDir) {
  return {.title = texts.Say(UiText::OpenTitle),
          .filter = "mp3(*.mp3)|*.mp3|" + texts.Say(UiText::OpenKflFilter) + "|*.kfl|" +
                    texts.Say(UiText::AllMusicFilter) + "|" + os::AudioFilePatterns() + "|" +
                    texts.Say(UiText::AllPlaylistsFilter) + "|*.kfl;*.m3u;*.m3u8;*.pls",
          .defaultExtension = ".mp3",
          .initialDirectory = lastDir,
          .allowMultiple = true};
}

// The player's own kind first, as the default; an M3U8 name is written as
// M3U8 (SavePlaylistFile), for other players.
seam::FileDialogRequest SaveRequest(const TextBook& texts, const std::string& lastDir) {
  return {.title = texts.Say(UiText::SaveTitle),
          .filter = texts.Say(UiText::SaveKflFilter) + "|*.kfl|" + texts.Say(UiText::SaveM3u8Filter) + "|*.m3u8",
          .defaultExtension = ".kfl",
          .initialDirectory = lastDir,
          .promptOverwrite = true};
}

}  // namespace

std::vector<std::string> PlaylistWindow::ShowOpenDialog() {
  std::vector<std::string> paths = desktop_.Dialogs().ShowOpen(OpenRequest(texts_, lastDir_));
  // The next dialog starts where the chosen files lie.
  if (!paths.empty()) {
    if (std::optional<std::string> folder = FolderOf(paths.front())) lastDir_ = std::move(*folder);
  }
  return paths;
}

std::string PlaylistWindow::ShowSaveDialog() {
  std::string path = desktop_.Dialogs().ShowSave(SaveRequest(texts_, lastDir_)).value_or("");
  if (path.empty()) return {};
  if (const std::optional<std::string> dir = SaveDialogDir(path)) lastDir_ = *dir;
  return path;
}

void PlaylistWindow::AddFromDialog() { control_.AddFiles(ShowOpenDialog()); }

}  // namespace kestrafon
