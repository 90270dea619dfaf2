#pragma once
// The message box that tells the user a playlist was not saved: which file,
// and why, in Japanese.
#include <string>

#include "seam/desktop.h"

namespace kestrafon {

inline constexpr const char* kSaveFailureTitle = "保存できませんでした";

// Why a save stopped, for the user: the common causes in Japanese, any
// other error in the system's own words.
std::string SaveFailureReason(int error);
// The message naming the file and the reason.
std::string SaveFailureText(const std::string& path, int error);
// Shows that message in a modal box with an OK button.
void ShowSaveFailure(seam::FileDialogs& dialogs, const std::string& path, int error);

}  // namespace kestrafon
