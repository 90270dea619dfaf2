#include "skin/option_lamps.h"

namespace kestrafon {

using namespace skin;

void OptionLamps::ToggleList() {
  listLit_ = !listLit_;
  if (listLit_) {
    face_.Draw(kPlaylistLit);
    effects_.ShowPlaylist();
  } else {
    face_.Draw(kPlaylistUnlit);
    effects_.UnloadPlaylist();
  }
}

void OptionLamps::ToggleRepeat() {
  repeatLit_ = !repeatLit_;
  face_.Draw(repeatLit_ ? kRepeatLit : kRepeatUnlit);
}

void OptionLamps::ToggleTopMost() {
  topMostLit_ = !topMostLit_;
  face_.Draw(topMostLit_ ? kOnTopLit : kOnTopUnlit);
  effects_.SetPlayerTopMost(topMostLit_);
  if (effects_.PlaylistLoaded()) effects_.SetPlaylistTopMost(topMostLit_);
}

}  // namespace kestrafon
