#pragma once
// The message box that tells the user a playlist was not saved: which file,
// and why, in the user's language.
#include <string>

#include "model/ui_texts.h"
#include "seam/desktop.h"

namespace kestrafon {

// Why a save stopped, for the user: the common causes in the player's words,
// any other error in the system's own.
std::string SaveFailureReason(const TextBook& texts, int error);
// The message naming the file and the reason.
std::string SaveFailureText(const TextBook& texts, const std::string& path, int error);
// Shows that message in a modal box with an OK button.
void ShowSaveFailure(seam::FileDialogs& dialogs, const TextBook& texts, const std::string& path, int error);

}  // namespace kestrafon
