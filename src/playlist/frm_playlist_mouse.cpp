// The playlist window's mouse: every press moves the window, and a press on
// one of the four face buttons then runs that button.
#include <optional>
#include <vector>

#include "model/playlist_file.h"
#include "playlist/frm_playlist.h"
#include "playlist/list_buttons.h"
#include "playlist/save_failure_message.h"
#include "shell/drag_window.h"

namespace kestrafon {

void frmplayList::Form_MouseDown(int /*button*/, double x, double y) {
  if (!host_) return;
  // Any mouse button drags; the button still acts where the press began.
  DragWindow(*host_);

  const std::optional<ListButton> hit = ListButtonAt(x, y);
  if (!hit) return;
  switch (*hit) {
    case ListButton::Add:
      AddMp3Files();
      player_.SetPlayList();
      break;
    case ListButton::Remove:
      RemoveSelectedEntry();
      player_.SetPlayList();
      control_.ListChanged();
      break;
    case ListButton::Clear:
      ClearList();
      control_.ListChanged();
      break;
    case ListButton::Save:
      SaveList();
      break;
  }
}

void frmplayList::RemoveSelectedEntry() {
  clsPlayer& player = player_;
  const std::int32_t n = player.mscFileCount();
  if (n == 0) return;
  const std::int32_t selected = player.SelectPlayList();

  // Everything after the selected entry moves up by one. A selection past
  // the end reads nothing there, so the last entry goes.
  std::vector<std::string> kept(std::size_t(n) + 1);
  for (std::int32_t i = 1; i <= n; ++i) kept[std::size_t(i)] = player.GetMp3Name(i < selected ? i : i + 1);
  for (std::int32_t i = 1; i <= n - 1; ++i) player.AddPlayList(i, kept[std::size_t(i)]);
  player.ChangePlayList(n - 1);

  // Keep pointing at the same track; the track itself plays on.
  if (player.playListNumber() > selected) player.playListNumber(player.playListNumber() - 1);
}

void frmplayList::ClearList() {
  // Playback, the selection and the visible range stay as they are.
  player_.ChangePlayList(0);
  player_.playListNumber(1);
  Cls();
}

void frmplayList::SaveList() {
  const clsPlayer& player = player_;
  if (player.mscFileCount() < 1) return;  // no dialog for an empty list
  const std::string path = ShowSaveDialog();
  if (path.empty()) return;
  // The list as it is once the dialog has closed; a failure is never silent.
  const SaveResult saved = SavePlaylistFile(player, path);
  if (!saved) ShowSaveFailure(desktop_.Dialogs(), path, saved.error);
}

}  // namespace kestrafon
