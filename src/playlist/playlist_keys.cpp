// The playlist window's keys: the arrows and page keys move the selection
// and scroll the rows; Enter plays the selected entry.
#include "playlist/frm_playlist.h"

namespace kestrafon {

namespace {

constexpr std::int32_t kRows = 13;      // a list longer than this scrolls
constexpr std::int32_t kPage = 5;
}  // namespace

void frmplayList::Form_KeyDown(platform::Key key) {
  clsPlayer& player = player_;
  std::int32_t min = 0, max = 0;
  player.ListMinMax(min, max, false);
  const std::int32_t count = player.mscFileCount();
  const bool scrolls = count > kRows;
  const std::int32_t selected = player.SelectPlayList();

  switch (key) {
    case platform::Key::Enter:
      control_.PlayEntry(player.SelectPlayList());
      return;

    case platform::Key::PageUp: {
      // Only whole pages: short of one, nothing moves at all.
      if (min - kPage < 1 || !scrolls) return;
      std::int32_t newMin = min - kPage, newMax = max - kPage;
      player.ListMinMax(newMin, newMax, true);
      if (selected > kPage) player.SelectPlayList(selected - kPage);
      player.SetPlayList();
      return;
    }

    case platform::Key::PageDown: {
      if (count < max + kPage || !scrolls) return;
      std::int32_t newMin = min + kPage, newMax = max + kPage;
      player.ListMinMax(newMin, newMax, true);
      if (selected + kPage < count) player.SelectPlayList(selected + kPage);
      player.SetPlayList();
      return;
    }

    case platform::Key::Up:
      // The rows and the selection move together until the rows reach the top.
      if (min > 1 && scrolls) {
        std::int32_t newMin = min - 1, newMax = max - 1;
        player.ListMinMax(newMin, newMax, true);
      }
      if (selected >= 2) player.SelectPlayList(selected - 1);
      player.SetPlayList();
      return;

    case platform::Key::Down:
      if (max < count && scrolls) {
        std::int32_t newMin = min + 1, newMax = max + 1;
        player.ListMinMax(newMin, newMax, true);
      }
      if (selected < count) player.SelectPlayList(selected + 1);
      player.SetPlayList();
      return;

    case platform::Key::Other:
      return;
  }
}

}  // namespace kestrafon
