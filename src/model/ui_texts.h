#pragma once
// Every text the player says to its user, in Japanese, the language it was
// made in, and the book the running program reads them from: Japanese, or
// the user's language where the platform has a translation
// (translations/kestrafon_en.ts; Qt reads it compiled as a .qm, Windows as
// the program's string tables).
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kestrafon {

// The numbers are the Windows string resources' ids: keep them, and add new
// texts at the end. "%1", "%2" stand for what Say fills in.
enum class UiText : int {
  OpenTitle = 1,          // the Add button's dialog
  OpenKflFilter = 2,
  AllMusicFilter = 3,
  AllPlaylistsFilter = 4,
  SaveTitle = 5,          // the Save button's dialog
  SaveKflFilter = 6,
  SaveM3u8Filter = 7,
  SkippedTitle = 8,       // files that could not be opened
  SkippedIntro = 9,
  SkippedEntry = 10,      // %1 the file, %2 why
  SkippedMissing = 11,
  SkippedNotAFile = 12,
  SkippedUnreadable = 13,
  CannotPlayTitle = 14,
  NoOutputText = 15,      // followed by the file
  OutputLostText = 16,    // followed by the file
  UrlsSkippedTitle = 17,
  UrlsSkippedText = 18,   // %1 how many
  SaveFailureTitle = 19,
  SaveFailureText = 20,   // %1 the file, %2 the reason
  DiskFull = 21,
  QuotaReached = 22,
  NoPermission = 23,
  FileInUse = 24,
  NameTooLong = 25,
  ReadOnlyPlace = 26,
  FolderMissing = 27,
  FolderInTheWay = 28,
  OtherInTheWay = 29,
  Usage = 30,             // --help; %1 the program's name
  UnknownOption = 31,     // %1 the option
  SettingsBadLine = 32,   // %1 the file, %2 the line's number, %3 the line
  SettingsUnreadable = 33,  // %1 the file
};

// Each text with the name translators see beside it, in the order of the ids.
struct UiTextEntry {
  UiText id;
  const char* key;       // the enumerator's name
  const char* japanese;
};
const std::vector<UiTextEntry>& UiTextTable();

// The row of `id`, and its Japanese text.
const UiTextEntry& UiTextEntryOf(UiText id);
inline const char* JapaneseText(UiText id) { return UiTextEntryOf(id).japanese; }

// Replaces %1, %2 … in `text` by `args` in order; other text, and a '%' not
// followed by a digit with an argument, stay as they are.
std::string FillText(std::string_view text, std::initializer_list<std::string_view> args);

class TextBook {
 public:
  // Gives a text in the user's language, or empty where there is none.
  using Translate = std::function<std::string(UiText id)>;

  TextBook() = default;  // Japanese
  explicit TextBook(const Translate& translate);

  std::string Say(UiText id, std::initializer_list<std::string_view> args = {}) const;

 private:
  std::vector<std::string> texts_;  // by id; empty: Japanese
};

// The Japanese book, for those not told of another (it never changes).
const TextBook& JapaneseTexts();

}  // namespace kestrafon
