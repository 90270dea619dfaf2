#pragma once
// The player's words on Linux: Japanese under a Japanese locale and under
// the C locale (the language the player was made in), English from the
// built-in translation under any other.
#include <QLocale>

#include "model/ui_texts.h"

namespace kestrafon::platform::qt {

// The locale the player speaks for `system`: Japanese in place of C.
QLocale PlayerLocale(const QLocale& system = QLocale::system());

// The book for that locale; works before the application object exists
// (--help).
TextBook QtTextBook(const QLocale& locale = PlayerLocale());

}  // namespace kestrafon::platform::qt
