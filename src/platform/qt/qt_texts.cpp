#include "platform/qt/qt_texts.h"

#include <QTranslator>

static void RegisterBuiltInTranslations() { Q_INIT_RESOURCE(translations); }

namespace kestrafon::platform::qt {

QLocale PlayerLocale(const QLocale& system) {
  return system.language() == QLocale::C ? QLocale(QLocale::Japanese, QLocale::Japan) : system;
}

TextBook QtTextBook(const QLocale& locale) {
  if (locale.language() == QLocale::Japanese) return TextBook();
  RegisterBuiltInTranslations();
  QTranslator english;
  if (!english.load(QStringLiteral(":/i18n/kestrafon_en.qm"))) return TextBook();
  return TextBook([&english](UiText id) {
    const UiTextEntry& entry = UiTextEntryOf(id);
    return english.translate("Kestrafon", entry.japanese, entry.key).toStdString();
  });
}

}  // namespace kestrafon::platform::qt
