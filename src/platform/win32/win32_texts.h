#pragma once
// The player's words on Windows: the program's string tables, one Japanese
// and one English, of which Windows picks the user-interface language's
// (English for every language but Japanese).
#include "model/ui_texts.h"

namespace kestrafon::platform::win32 {

TextBook Win32TextBook();

}  // namespace kestrafon::platform::win32
