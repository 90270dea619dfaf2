// The Linux program's words: the built-in English has every text, blanks
// and all, and the locale decides the language.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "platform/qt/qt_texts.h"

namespace kestrafon::platform::qt {
namespace {

std::multiset<std::string> Blanks(const std::string& text) {
  static const std::regex blank("%[1-9]");
  std::multiset<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), blank); it != std::sregex_iterator(); ++it)
    found.insert(it->str());
  return found;
}

TEST(QtTexts, EveryTextHasItsEnglishWithTheSameBlanks) {
  const TextBook english = QtTextBook(QLocale(QLocale::English, QLocale::UnitedStates));
  for (const UiTextEntry& entry : UiTextTable()) {
    const std::string said = english.Say(entry.id);
    EXPECT_NE(said, entry.japanese) << entry.key << " has no English (a changed Japanese text?)";
    EXPECT_EQ(Blanks(said), Blanks(entry.japanese)) << entry.key;
  }
}

TEST(QtTexts, JapaneseUnderAJapaneseOrTheCLocaleEnglishUnderAnyOther) {
  const struct {
    const char* locale;
    const char* openTitle;
  } cases[] = {
      {"C", "ファイルを選択して下さい。"},
      {"ja_JP", "ファイルを選択して下さい。"},
      {"en_US", "Select files"},
      {"en_GB", "Select files"},
      {"de_DE", "Select files"},
      {"zh_CN", "Select files"},
  };
  for (const auto& c : cases) {
    const QLocale locale(QString::fromLatin1(c.locale));
    EXPECT_EQ(QtTextBook(PlayerLocale(locale)).Say(UiText::OpenTitle), c.openTitle) << c.locale;
  }
}

}  // namespace
}  // namespace kestrafon::platform::qt
