#include "model/track_list.h"

#include <algorithm>

namespace kestrafon {

std::int32_t TrackList::Count() const { return paths_.empty() ? 0 : std::int32_t(paths_.size() - 1); }

std::string TrackList::PathAt(std::int32_t entry) const {
  if (entry < 0 || entry > Count() || paths_.empty()) return {};
  return paths_[std::size_t(entry)];
}

EntryId TrackList::IdAt(std::int32_t entry) const {
  if (entry < 1 || entry > Count()) return 0;
  return ids_[std::size_t(entry)];
}

std::int32_t TrackList::EntryWithId(EntryId id) const {
  if (id == 0) return 0;
  const auto found = std::find(ids_.begin(), ids_.end(), id);
  return found == ids_.end() ? 0 : std::int32_t(found - ids_.begin());
}

void TrackList::Append(const std::string& path) {
  Resize(Count() + 1);
  paths_.back() = path;
}

void TrackList::Remove(std::int32_t entry) {
  const std::int32_t count = Count();
  if (count == 0) return;
  const std::int32_t gone = std::clamp(entry, std::int32_t(1), count);
  paths_.erase(paths_.begin() + gone);
  ids_.erase(ids_.begin() + gone);
}

void TrackList::Resize(std::int32_t count) {
  if (count < 0) return;
  const std::size_t size = std::size_t(count) + 1;
  paths_.resize(size);
  // Entries that come into being get ids never given before.
  while (ids_.size() < size) ids_.push_back(ids_.empty() ? 0 : ++lastId_);
  ids_.resize(size);
}

void TrackList::SelectEntry(std::int32_t entry) {
  if (entry <= Count()) selected_ = entry;
}

void TrackList::PaintRows() {
  canvas_.ClearRows();
  const std::int32_t count = Count();
  if (count == 0) return;

  // A Remove or a Clear can leave the visible range past the end of the
  // list, where no key could bring it back: move it back far enough to show
  // the last entry, never before entry 1.
  if (visible_.last > count) {
    const std::int32_t shift = std::min(visible_.last - count, visible_.first - 1);
    visible_.first -= shift;
    visible_.last -= shift;
  }
  // Rows past the end of the list are never read. The range never starts
  // before entry 1: the keys stop there and the shift above does too.
  const skin::RowLayout& rows = skin::kListRows;
  const std::int32_t last = std::min(count >= rows.count ? visible_.last : count, count);
  int y = rows.top;
  for (std::int32_t i = visible_.first; i <= last; ++i) {
    Rgb colour = kPlainRowColour;
    if (i == current_) colour = kCurrentRowColour;
    if (i == selected_ && selected_ != current_) colour = kSelectedRowColour;
    canvas_.DrawRow(rows.x, y, RowText(paths_[std::size_t(i)]), colour);
    y += rows.step;
  }
}

}  // namespace kestrafon
