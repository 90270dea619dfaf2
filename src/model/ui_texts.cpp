#include "model/ui_texts.h"

#include <algorithm>

namespace kestrafon {

const std::vector<UiTextEntry>& UiTextTable() {
#define KESTRAFON_TEXT(id, japanese) {UiText::id, #id, japanese}
  // The dialogs' titles and filters, and the messages that name their subject
  // first, are the words the player has always used: keep them byte for byte.
  // The first open filter's katakana is half-width, the save filter's
  // full-width.
  static const std::vector<UiTextEntry> table = {
      KESTRAFON_TEXT(OpenTitle, "ファイルを選択して下さい。"),
      KESTRAFON_TEXT(OpenKflFilter, "KFLﾌｧｲﾙ (*.kfl)"),
      KESTRAFON_TEXT(AllMusicFilter, "すべての音楽ファイル"),
      KESTRAFON_TEXT(AllPlaylistsFilter, "すべてのプレイリスト"),
      KESTRAFON_TEXT(SaveTitle, "名前を付けてファイルの保存"),
      KESTRAFON_TEXT(SaveKflFilter, "KFLファイル(*.kfl)"),
      KESTRAFON_TEXT(SaveM3u8Filter, "M3U8ファイル(*.m3u8)"),
      KESTRAFON_TEXT(SkippedTitle, "開けなかったファイル"),
      KESTRAFON_TEXT(SkippedIntro, "次のファイルは開けなかったため、飛ばしました。\n"),
      KESTRAFON_TEXT(SkippedEntry, "%1（%2）"),
      KESTRAFON_TEXT(SkippedMissing, "見つかりません"),
      KESTRAFON_TEXT(SkippedNotAFile, "ファイルではありません"),
      KESTRAFON_TEXT(SkippedUnreadable, "読み込めません"),
      KESTRAFON_TEXT(CannotPlayTitle, "再生できません"),
      KESTRAFON_TEXT(NoOutputText, "音声を出力できる装置がないため、次の曲を再生できません。\n"),
      KESTRAFON_TEXT(OutputLostText, "音声の出力先が使えなくなったため、次の曲の再生を止めました。\n"),
      KESTRAFON_TEXT(UrlsSkippedTitle, "追加しなかった項目"),
      KESTRAFON_TEXT(UrlsSkippedText,
                     "プレイリストにあったURL（%1件）は、このコンピューターのファイルではないため、飛ばしました。"),
      KESTRAFON_TEXT(SaveFailureTitle, "保存できませんでした"),
      KESTRAFON_TEXT(SaveFailureText, "プレイリストを次のファイルに保存できませんでした。\n%1\n\n理由: %2"),
      KESTRAFON_TEXT(DiskFull, "ディスクの空き容量が足りません。"),
      KESTRAFON_TEXT(QuotaReached, "ディスクの使用量の上限に達しています。"),
      KESTRAFON_TEXT(NoPermission, "この場所に書き込む権限がありません。"),
      KESTRAFON_TEXT(FileInUse, "ほかのプログラムがこのファイルを使っています。"),
      KESTRAFON_TEXT(NameTooLong, "ファイルの名前かフォルダーの階層が長すぎます。"),
      KESTRAFON_TEXT(ReadOnlyPlace, "読み取り専用の場所には保存できません。"),
      KESTRAFON_TEXT(FolderMissing, "保存先のフォルダーが見つかりません。"),
      KESTRAFON_TEXT(FolderInTheWay, "同じ名前のフォルダーがあります。"),
      KESTRAFON_TEXT(OtherInTheWay, "同じ名前の、ファイルではないものがあります。"),
      KESTRAFON_TEXT(Usage,
                     "使い方: %1 [オプション]... [ファイル]...\n"
                     "音楽ファイルを再生します。ファイル（曲か、.kfl・.m3u・.m3u8・.pls のプレイリスト）を\n"
                     "順にリストへ追加し、最初に追加した曲を再生します。プレーヤーがもう動いて\n"
                     "いるときは、そのプレーヤーにファイルを渡します。\n"
                     "\n"
                     "      --enqueue           ファイルをリストに追加するだけで、再生しません\n"
                     "      --replaygain=MODE   ファイルの ReplayGain タグで音量をそろえます:\n"
                     "                          off、track、album のどれか（既定: 設定ファイルの\n"
                     "                          値、なければ track）\n"
                     "  -h, --help              この説明を表示して終わります\n"
                     "      --version           バージョンを表示して終わります\n"),
      KESTRAFON_TEXT(UnknownOption, "%1 というオプションはありません。"),
      KESTRAFON_TEXT(SettingsBadLine, "%1: %2 行目は設定として読めないため、使いません: %3"),
      KESTRAFON_TEXT(SettingsUnreadable, "%1: 設定として読めないため、既定の設定を使います。"),
  };
#undef KESTRAFON_TEXT
  return table;
}

const UiTextEntry& UiTextEntryOf(UiText id) {
  const auto& table = UiTextTable();
  const auto it = std::find_if(table.begin(), table.end(), [id](const UiTextEntry& e) { return e.id == id; });
  static const UiTextEntry none{UiText{}, "", ""};
  return it != table.end() ? *it : none;
}

std::string FillText(std::string_view text, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9';
    if (digit && std::size_t(text[i + 1] - '1') < args.size()) {
      out.append(args.begin()[text[i + 1] - '1']);
      ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

TextBook::TextBook(const Translate& translate) {
  for (const UiTextEntry& entry : UiTextTable()) {
    const auto at = std::size_t(entry.id);
    if (texts_.size() <= at) texts_.resize(at + 1);
    texts_[at] = translate(entry.id);
  }
}

std::string TextBook::Say(UiText id, std::initializer_list<std::string_view> args) const {
  const auto at = std::size_t(id);
  const std::string_view text = at < texts_.size() && !texts_[at].empty() ? std::string_view(texts_[at])
                                                                           : std::string_view(JapaneseText(id));
  return FillText(text, args);
}

const TextBook& JapaneseTexts() {
  static const TextBook japanese;
  return japanese;
}

}  // namespace kestrafon
