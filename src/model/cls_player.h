#pragma once
// Everything the player knows between events: the one track list, the
// current and highlighted track, the visible rows of the playlist window,
// the play / pause / repeat / stop flags and the volume knob position.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/image.h"
#include "skin/layout.h"

namespace kestrafon {

class modDirectx;

// Where the rows of the list are painted: the playlist window.
class PlaylistCanvas {
 public:
  virtual ~PlaylistCanvas() = default;
  // Clears the rows, loading the (hidden) window first when it is not loaded.
  virtual void Cls() = 0;
  virtual void TextOut(int x, int y, std::string_view text, Rgb color) = 0;
};

inline constexpr const Rgb& kCurrentRowColour = skin::RowColourOf(skin::RowColour::Current);
inline constexpr const Rgb& kSelectedRowColour = skin::RowColourOf(skin::RowColour::Selected);
inline constexpr const Rgb& kPlainRowColour = skin::RowColourOf(skin::RowColour::Plain);

class clsPlayer {
 public:
  clsPlayer(modDirectx& engine, PlaylistCanvas& canvas) : engine_(engine), canvas_(canvas) {}

  // With `flag` true stores the visible range; with false reads it back.
  void ListMinMax(std::int32_t& min, std::int32_t& max, bool flag);

  std::int32_t playListNumber() const { return playListNumber_; }
  void playListNumber(std::int32_t List_Num) { playListNumber_ = List_Num; }

  std::int32_t SelectPlayList() const { return selectPlayList_; }
  void SelectPlayList(std::int32_t List_Index);  // ignored past the end of the list

  // Appends a track at the end of the list.
  void AryMp3File(const std::string& strMp3File);

  bool CheckPlay() const { return checkPlay_; }
  void CheckPlay(bool flag) { checkPlay_ = flag; }
  bool CheckTemporary() const { return checkTemporary_; }
  void CheckTemporary(bool flag) { checkTemporary_ = flag; }
  bool CheckRepeat() const { return checkRepeat_; }
  void CheckRepeat(bool flag) { checkRepeat_ = flag; }
  bool CheckStop() const { return checkStop_; }
  void CheckStop(bool flag) { checkStop_ = flag; }

  // Cuts or pads the list to `Mp3Index` entries and stores the path there.
  void AddPlayList(std::int32_t Mp3Index, const std::string& strMp3);
  // The full stored path of a track; empty past the end of the list.
  std::string GetMp3Name(std::int32_t mp3_index) const;

  std::int32_t VolumePos() const { return volumePos_; }
  void VolumePos(std::int32_t volume) { volumePos_ = volume; }
  // Sets the open track's volume from a knob position; false when the
  // media framework refused it. Nothing happens while no track is open.
  bool SetAudioVolume(std::int32_t lngVolume);

  // Paints the visible rows into the playlist window.
  void SetPlayList();
  // Cuts or pads the list to `List_Index` entries; 0 empties it.
  void ChangePlayList(std::int32_t List_Index);

  std::int32_t mscFileCount() const;

 private:
  modDirectx& engine_;
  PlaylistCanvas& canvas_;
  std::vector<std::string> mp3List_;  // element 0 never holds a track; empty = never dimensioned
  bool checkPlay_ = false;
  bool checkStop_ = false;
  bool checkTemporary_ = false;
  bool checkRepeat_ = false;
  std::int32_t playListNumber_ = 1;
  std::int32_t max_ = skin::kListRows.count;
  std::int32_t min_ = 1;
  std::int32_t selectPlayList_ = 1;
  std::int32_t volumePos_ = 0;
};

// The file name part of a path: what follows the last '\' or '/'.
std::string_view FileNameOf(std::string_view path);

// The text a playlist row shows for a stored path, shortened to fit the row.
std::string RowText(std::string_view path);

}  // namespace kestrafon
