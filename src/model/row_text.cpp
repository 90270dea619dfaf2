#include "model/cp932_text.h"
#include "model/paths.h"
#include "model/track_list.h"

namespace kestrafon {

// A row shows the name without its extension and then ".mp3", whatever the
// real extension was. Names longer than 20 ANSI bytes are cut and marked
// with "~": 20 characters when every character is single-byte, else 10.
std::string RowText(std::string_view path) {
  const std::string_view name = cp932::DropRightChars(FileNameOf(path), 4);
  const int bytes = cp932::Cp932ByteLength(name);
  if (bytes <= 20) return std::string(name) + ".mp3";
  const bool singleByte = bytes == cp932::CharCount(name);
  return std::string(cp932::LeftChars(name, singleByte ? 20 : 10)) + "~.mp3";
}

}  // namespace kestrafon
