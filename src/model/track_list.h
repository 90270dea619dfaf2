#pragma once
// Everything the player knows between events: the one track list, the
// current and highlighted entries, the visible rows of the playlist window,
// the playing, pause and repeat modes and the volume the knob stands for.
// Entries are numbered from 1; each also has an id of its own that no edit
// changes, so that what was said about an entry earlier finds it again.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "seam/image.h"
#include "skin/layout.h"

namespace kestrafon {

// Where the rows of the list are painted: the playlist window.
class PlaylistCanvas {
 public:
  virtual ~PlaylistCanvas() = default;
  // Clears the rows, loading the (hidden) window first when it is not loaded.
  virtual void ClearRows() = 0;
  virtual void DrawRow(int x, int y, std::string_view text, Rgb color) = 0;
};

inline constexpr const Rgb& kCurrentRowColour = skin::RowColourOf(skin::RowColour::Current);
inline constexpr const Rgb& kSelectedRowColour = skin::RowColourOf(skin::RowColour::Selected);
inline constexpr const Rgb& kPlainRowColour = skin::RowColourOf(skin::RowColour::Plain);

// The entries the playlist window shows, first and last.
struct VisibleRows {
  std::int32_t first = 1;
  std::int32_t last = skin::kListRows.count;
};

// An entry's own name for the life of the list; 0 names none.
using EntryId = std::uint64_t;

class TrackList {
 public:
  explicit TrackList(PlaylistCanvas& canvas) : canvas_(canvas) {}

  std::int32_t Count() const;
  // The full stored path of an entry; empty past the end of the list.
  std::string PathAt(std::int32_t entry) const;
  // The id of an entry; 0 past the end of the list.
  EntryId IdAt(std::int32_t entry) const;
  // Where the entry with `id` stands now; 0 when it is no longer in the list.
  std::int32_t EntryWithId(EntryId id) const;
  // Appends an entry at the end of the list.
  void Append(const std::string& path);
  // Removes an entry; everything after it moves up. Past the end of the
  // list the last entry goes. Nothing on an empty list.
  void Remove(std::int32_t entry);
  // Cuts or pads the list to `count` entries; 0 empties it.
  void Resize(std::int32_t count);

  // The entry that plays (or played last).
  std::int32_t CurrentEntry() const { return current_; }
  void SetCurrentEntry(std::int32_t entry) { current_ = entry; }
  // The highlighted entry; a number past the end of the list is ignored.
  std::int32_t SelectedEntry() const { return selected_; }
  void SelectEntry(std::int32_t entry);

  VisibleRows Visible() const { return visible_; }
  void SetVisible(VisibleRows rows) { visible_ = rows; }
  // Paints the visible rows into the playlist window.
  void PaintRows();

  // The face looks playing (a track was started and not stopped).
  bool IsPlaying() const { return playing_; }
  void SetPlaying(bool playing) { playing_ = playing; }
  // The face's pause toggle: true while the pause button is down. It can
  // run inverted against the track (see the control surface).
  bool PauseToggled() const { return pauseToggled_; }
  void SetPauseToggled(bool toggled) { pauseToggled_ = toggled; }
  bool Repeats() const { return repeat_; }
  void SetRepeat(bool repeat) { repeat_ = repeat; }

  // The volume the knob stands for: 0 (quietest) to 1 (loudest).
  double VolumeLevel() const { return volume_; }
  void SetVolumeLevel(double level) { volume_ = level; }

 private:
  PlaylistCanvas& canvas_;
  std::vector<std::string> paths_;  // element 0 never holds an entry; empty = never sized
  std::vector<EntryId> ids_;        // beside paths_, element for element
  EntryId lastId_ = 0;
  bool playing_ = false;
  bool pauseToggled_ = false;
  bool repeat_ = false;
  std::int32_t current_ = 1;
  std::int32_t selected_ = 1;
  VisibleRows visible_;
  double volume_ = 0;
};

// The text a playlist row shows for a stored path, shortened to fit the row.
std::string RowText(std::string_view path);

}  // namespace kestrafon
