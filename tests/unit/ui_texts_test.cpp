// The player's words: what fills a text's blanks, and which language a book
// speaks where it has no word of its own.
#include <gtest/gtest.h>

#include "model/ui_texts.h"

namespace kestrafon {
namespace {

TEST(UiTexts, EachBlankTakesItsArgument) {
  const struct {
    const char* text;
    std::initializer_list<std::string_view> args;
    const char* filled;
  } cases[] = {
      {"%1（%2）", {"a.mp3", "見つかりません"}, "a.mp3（見つかりません）"},
      {"%2 then %1", {"one", "two"}, "two then one"},
      {"100% sure, %1%", {"50"}, "100% sure, 50%"},
      {"%3 is not given", {"x"}, "%3 is not given"},
      {"an argument holding %2", {"%2", "no"}, "an argument holding no"},
      {"%1", {"%1"}, "%1"},
      {"ends with %", {}, "ends with %"},
  };
  for (const auto& c : cases) EXPECT_EQ(FillText(c.text, c.args), c.filled) << c.text;
}

TEST(UiTexts, ABookSaysJapaneseWhereItHasNoWord) {
  const TextBook partial([](UiText id) {
    return id == UiText::SaveTitle ? std::string() : std::string("EN ") + UiTextEntryOf(id).key;
  });
  EXPECT_EQ(partial.Say(UiText::OpenTitle), "EN OpenTitle");
  EXPECT_EQ(partial.Say(UiText::SaveTitle), "名前を付けてファイルの保存");
  EXPECT_EQ(JapaneseTexts().Say(UiText::UrlsSkippedText, {"3"}),
            "プレイリストにあったURL（3件）は、このコンピューターのファイルではないため、飛ばしました。");
}

}  // namespace
}  // namespace kestrafon
