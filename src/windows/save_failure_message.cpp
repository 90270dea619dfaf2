#include "windows/save_failure_message.h"

#include <cerrno>
#include <system_error>

namespace kestrafon {
namespace {

struct Reason {
  int error;
  UiText text;
};

constexpr Reason kReasons[] = {
    {ENOSPC, UiText::DiskFull},
#ifdef EDQUOT  // no disk quotas on Windows
    {EDQUOT, UiText::QuotaReached},
#endif
    {EACCES, UiText::NoPermission},
    {EBUSY, UiText::FileInUse},
    {ENAMETOOLONG, UiText::NameTooLong},
    {EPERM, UiText::NoPermission},
    {EROFS, UiText::ReadOnlyPlace},
    {ENOENT, UiText::FolderMissing},
    {EISDIR, UiText::FolderInTheWay},
    {EINVAL, UiText::OtherInTheWay},
};

}  // namespace

std::string SaveFailureReason(const TextBook& texts, int error) {
  for (const Reason& r : kReasons)
    if (r.error == error) return texts.Say(r.text);
  return std::error_code(error, std::generic_category()).message();
}

std::string SaveFailureText(const TextBook& texts, const std::string& path, int error) {
  return texts.Say(UiText::SaveFailureText, {path, SaveFailureReason(texts, error)});
}

void ShowSaveFailure(seam::FileDialogs& dialogs, const TextBook& texts, const std::string& path, int error) {
  dialogs.ShowMessage(texts.Say(UiText::SaveFailureTitle), SaveFailureText(texts, path, error));
}

}  // namespace kestrafon
