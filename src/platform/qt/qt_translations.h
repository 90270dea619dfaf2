#pragma once
// Qt's own catalogues for the user's language, so the file dialogs' labels
// and buttons speak it as the player's titles do.
#include <QLocale>

class QCoreApplication;

namespace kestrafon::platform::qt {

// Installs qtbase_<language> for the locale; false when there is none to load.
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());

}  // namespace kestrafon::platform::qt
