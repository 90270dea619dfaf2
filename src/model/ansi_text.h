#pragma once
// Text in memory is UTF-8. Where the player measures or stores text in the
// Japanese ANSI code page (code page 932), these helpers convert and count.
#include <optional>
#include <string>
#include <string_view>

namespace kestrafon::ansi {

// Each code point of valid UTF-8, or nullopt for malformed input.
bool IsValidUtf8(std::string_view text);

// UTF-8 to code page 932; nullopt when a character has no code page 932 form.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);
// Code page 932 to UTF-8; nullopt when the bytes are not valid code page 932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// True when every character of the text has a code page 932 form.
bool FitsCp932(std::string_view utf8);

// Length in code page 932 bytes. A character outside the code page counts
// by its display width (1 narrow, 2 wide).
int AnsiByteLength(std::string_view utf8);

// Number of characters (code points).
int CharCount(std::string_view utf8);
// The first `count` characters.
std::string_view LeftChars(std::string_view utf8, int count);
// All but the last `count` characters (empty when there are fewer).
std::string_view DropRightChars(std::string_view utf8, int count);

}  // namespace kestrafon::ansi
