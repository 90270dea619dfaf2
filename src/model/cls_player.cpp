#include "model/cls_player.h"

#include <algorithm>

#include "engine/mod_directx.h"
#include "skin/sheet_map.h"

namespace kestrafon {

void clsPlayer::ListMinMax(std::int32_t& min, std::int32_t& max, bool flag) {
  if (flag) {
    min_ = min;
    max_ = max;
  } else {
    min = min_;
    max = max_;
  }
}

void clsPlayer::SelectPlayList(std::int32_t List_Index) {
  if (List_Index <= mscFileCount()) selectPlayList_ = List_Index;
}

void clsPlayer::AryMp3File(const std::string& strMp3File) {
  const std::size_t index = std::size_t(mscFileCount()) + 1;
  mp3List_.resize(index + 1);
  mp3List_[index] = strMp3File;
}

bool clsPlayer::SetAudioVolume(std::int32_t lngVolume) {
  platform::MediaGraph* audio = engine_.currentGraph();
  if (!audio) return true;
  const long hundredthsDb = (long(lngVolume) - skin::kVolumeZeroX) * skin::kVolumeStep;
  return audio->PutVolume(hundredthsDb);
}

std::int32_t clsPlayer::mscFileCount() const {
  return mp3List_.empty() ? 0 : std::int32_t(mp3List_.size() - 1);
}

void clsPlayer::AddPlayList(std::int32_t Mp3Index, const std::string& strMp3) {
  if (Mp3Index < 0) return;  // no command asks for a negative bound
  mp3List_.resize(std::size_t(Mp3Index) + 1);
  mp3List_[std::size_t(Mp3Index)] = strMp3;
}

void clsPlayer::ChangePlayList(std::int32_t List_Index) {
  if (List_Index < 0) return;
  if (List_Index == 0) {
    mp3List_.assign(1, std::string());
  } else {
    mp3List_.resize(std::size_t(List_Index) + 1);
  }
}

std::string clsPlayer::GetMp3Name(std::int32_t mp3_index) const {
  if (mp3_index < 0 || mp3_index > mscFileCount() || mp3List_.empty()) return {};
  return mp3List_[std::size_t(mp3_index)];
}

void clsPlayer::SetPlayList() {
  canvas_.Cls();
  const std::int32_t count = mscFileCount();
  if (count == 0) return;

  // A Remove or a Clear can leave the visible range past the end of the
  // list, where no key could bring it back: move it back far enough to show
  // the last track, never before track 1.
  if (max_ > count) {
    const std::int32_t shift = std::min(max_ - count, min_ - 1);
    min_ -= shift;
    max_ -= shift;
  }
  // Rows past the end of the list are never read. The range never starts
  // before track 1: the keys stop there and the shift above does too.
  const skin::RowLayout& rows = skin::kListRows;
  const std::int32_t last = std::min(count >= rows.count ? max_ : count, count);
  int y = rows.top;
  Rgb colour = kPlainRowColour;
  for (std::int32_t i = min_; i <= last; ++i) {
    if (i == playListNumber_) colour = kCurrentRowColour;
    if (i == selectPlayList_ && selectPlayList_ != playListNumber_) colour = kSelectedRowColour;
    canvas_.TextOut(rows.x, y, RowText(mp3List_[std::size_t(i)]), colour);
    y += rows.step;
    colour = kPlainRowColour;
  }
}

std::string_view FileNameOf(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace kestrafon
