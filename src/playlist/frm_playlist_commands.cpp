#include "app/app_context.h"
#include "playlist/frm_playlist.h"

namespace kestrafon {

// Playlist window buttons, keys and dialogs: not built yet.
void frmplayList::Form_MouseDown(int, double, double) {}
void frmplayList::Form_KeyDown(platform::Key) {}
void frmplayList::RemoveSelectedEntry() {}
void frmplayList::ClearList() {}
void frmplayList::SaveList() {}
void frmplayList::AddMp3Files() {}
std::string frmplayList::ShowOpenDialog() { return {}; }
std::string frmplayList::ShowSaveDialog() { return {}; }

}  // namespace kestrafon
