// The playlist window's keys: the arrows and page keys move the selection
// and scroll the rows; Enter plays the selected entry.
#include "windows/playlist_window.h"

namespace kestrafon {

namespace {
constexpr std::int32_t kPage = 5;
}  // namespace

void PlaylistWindow::OnKeyDown(seam::Key key) {
  const VisibleRows rows = tracks_.Visible();
  const std::int32_t count = tracks_.Count();
  const bool scrolls = count > skin::kListRows.count;  // a longer list scrolls
  const std::int32_t selected = tracks_.SelectedEntry();
  const auto scroll = [&](std::int32_t by) { tracks_.SetVisible({rows.first + by, rows.last + by}); };

  switch (key) {
    case seam::Key::Enter:
      control_.PlayEntry(selected);
      return;

    case seam::Key::PageUp:
      // Only whole pages: short of one, nothing moves at all.
      if (rows.first - kPage < 1 || !scrolls) return;
      scroll(-kPage);
      if (selected > kPage) tracks_.SelectEntry(selected - kPage);
      tracks_.PaintRows();
      return;

    case seam::Key::PageDown:
      if (count < rows.last + kPage || !scrolls) return;
      scroll(kPage);
      if (selected + kPage < count) tracks_.SelectEntry(selected + kPage);
      tracks_.PaintRows();
      return;

    case seam::Key::Up:
      // The rows and the selection move together until the rows reach the top.
      if (rows.first > 1 && scrolls) scroll(-1);
      if (selected >= 2) tracks_.SelectEntry(selected - 1);
      tracks_.PaintRows();
      return;

    case seam::Key::Down:
      if (rows.last < count && scrolls) scroll(1);
      if (selected < count) tracks_.SelectEntry(selected + 1);
      tracks_.PaintRows();
      return;

    case seam::Key::Other:
      return;
  }
}

}  // namespace kestrafon
