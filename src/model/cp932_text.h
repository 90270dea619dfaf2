#pragma once
// Text in memory is UTF-8. Where the player measures or stores text in the
// Japanese ANSI code page (code page 932), these helpers convert and count.
#include <optional>
#include <string>
#include <string_view>

namespace kestrafon::cp932 {

// The byte order mark some editors put before UTF-8 text.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// True when the text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

// UTF-8 to code page 932; nullopt for malformed UTF-8 or a character the
// code page lacks.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);
// The same, but also nullopt for a character that comes back as another one
// (see FitsCp932): what is written this way reads back unchanged.
std::optional<std::string> Utf8ToCp932Exact(std::string_view utf8);
// Code page 932 to UTF-8; nullopt when the bytes are not code page 932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);
// Code page 932 to UTF-8 that never fails: each byte that starts no
// code page 932 character becomes U+FFFD.
std::string Cp932ToUtf8Replacing(std::string_view cp932);

// Well-formed UTF-8 that never fails: each byte that starts no character
// becomes U+FFFD.
std::string Utf8Replacing(std::string_view bytes);

// Appends the UTF-8 form of the code point `cp`.
void AppendUtf8(std::string& out, char32_t cp);

// True when every character survives the trip to code page 932 and back.
// Characters the code page only maps one way (U+00A5 to '\', U+301C to
// U+FF5E, ...) do not.
bool FitsCp932(std::string_view utf8);

// Length in code page 932 bytes. A character outside the code page counts
// by its display width (1 narrow, 2 wide); a malformed byte counts 1.
int Cp932ByteLength(std::string_view utf8);

// Number of characters (code points; each malformed byte counts as one).
int CharCount(std::string_view utf8);
// The first `count` characters.
std::string_view LeftChars(std::string_view utf8, int count);
// All but the last `count` characters (empty when there are fewer).
std::string_view DropRightChars(std::string_view utf8, int count);

}  // namespace kestrafon::cp932
