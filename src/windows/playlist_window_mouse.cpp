// The playlist window's mouse: every press moves the window, and a press on
// one of the four face buttons then runs that button.
#include <optional>
#include <vector>

#include "model/playlist_file.h"
#include "windows/playlist_window.h"
#include "windows/list_buttons.h"
#include "windows/save_failure_message.h"

namespace kestrafon {

void PlaylistWindow::OnMouseDown(int /*button*/, double x, double y) {
  if (!host_) return;
  // Any mouse button drags; the button still acts where the press began.
  host_->DragMove();

  const std::optional<ListButton> hit = ListButtonAt(x, y);
  if (!hit) return;
  switch (*hit) {
    case ListButton::Add:
      AddFromDialog();
      tracks_.PaintRows();
      break;
    case ListButton::Remove:
      RemoveSelectedEntry();
      tracks_.PaintRows();
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

void PlaylistWindow::RemoveSelectedEntry() {
  if (tracks_.Count() == 0) return;
  const std::int32_t selected = tracks_.SelectedEntry();
  // A selection past the end removes the last entry.
  tracks_.Remove(selected);
  // Keep pointing at the same track; the track itself plays on.
  if (tracks_.CurrentEntry() > selected) tracks_.SetCurrentEntry(tracks_.CurrentEntry() - 1);
}

void PlaylistWindow::ClearList() {
  // Playback, the selection and the visible range stay as they are.
  tracks_.Resize(0);
  tracks_.SetCurrentEntry(1);
  ClearRows();
}

void PlaylistWindow::SaveList() {
  if (tracks_.Count() < 1) return;  // no dialog for an empty list
  const std::string path = ShowSaveDialog();
  if (path.empty()) return;
  // The list as it is once the dialog has closed; a failure is never silent.
  const SaveResult saved = SavePlaylistFile(tracks_, path);
  if (!saved) ShowSaveFailure(desktop_.Dialogs(), texts_, path, saved.error);
}

}  // namespace kestrafon
