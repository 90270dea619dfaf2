#include "windows/save_failure_message.h"

#include <cerrno>
#include <system_error>

namespace kestrafon {
namespace {

struct Reason {
  int error;
  const char* text;
};

constexpr Reason kReasons[] = {
    {ENOSPC, "ディスクの空き容量が足りません。"},
#ifdef EDQUOT  // no disk quotas on Windows
    {EDQUOT, "ディスクの使用量の上限に達しています。"},
#endif
    {EACCES, "この場所に書き込む権限がありません。"},
    {EBUSY, "ほかのプログラムがこのファイルを使っています。"},
    {ENAMETOOLONG, "ファイルの名前かフォルダーの階層が長すぎます。"},
    {EPERM, "この場所に書き込む権限がありません。"},
    {EROFS, "読み取り専用の場所には保存できません。"},
    {ENOENT, "保存先のフォルダーが見つかりません。"},
    {EISDIR, "同じ名前のフォルダーがあります。"},
    {EINVAL, "同じ名前の、ファイルではないものがあります。"},
};

}  // namespace

std::string SaveFailureReason(int error) {
  for (const Reason& r : kReasons)
    if (r.error == error) return r.text;
  return std::error_code(error, std::generic_category()).message();
}

std::string SaveFailureText(const std::string& path, int error) {
  return "プレイリストを次のファイルに保存できませんでした。\n" + path + "\n\n理由: " + SaveFailureReason(error);
}

void ShowSaveFailure(seam::FileDialogs& dialogs, const std::string& path, int error) {
  dialogs.ShowMessage(kSaveFailureTitle, SaveFailureText(path, error));
}

}  // namespace kestrafon
