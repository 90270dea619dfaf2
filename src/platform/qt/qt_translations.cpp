#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kestrafon::platform::qt {

bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale) {
  // English is what Qt speaks untranslated: nothing to read.
  if (locale.language() == QLocale::C || locale.language() == QLocale::English) return false;
  auto* translator = new QTranslator(&app);
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace kestrafon::platform::qt
