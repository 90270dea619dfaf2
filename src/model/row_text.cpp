#include "model/ansi_text.h"
#include "model/cls_player.h"

namespace kestrafon {

// A row shows the name without its extension and then ".mp3", whatever the
// real extension was. Names longer than 20 ANSI bytes are cut and marked
// with "~": 20 characters when every character is single-byte, else 10.
std::string RowText(std::string_view path) {
  const std::string_view name = ansi::DropRightChars(FileNameOf(path), 4);
  const int bytes = ansi::AnsiByteLength(name);
  if (bytes <= 20) return std::string(name) + ".mp3";
  const bool singleByte = bytes == ansi::CharCount(name);
  return std::string(ansi::LeftChars(name, singleByte ? 20 : 10)) + "~.mp3";
}

}  // namespace kestrafon
