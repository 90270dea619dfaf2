// Sends the player window a media key as the keyboard's driver does:
// WM_APPCOMMAND with APPCOMMAND_MEDIA_PLAY_PAUSE. Exits 1 when no player
// window is there.
#include <windows.h>

int main() {
  HWND player = FindWindowW(L"KestrafonForm", L"Form1");
  if (!player) return 1;
  SendMessageW(player, WM_APPCOMMAND, WPARAM(player), MAKELPARAM(0, APPCOMMAND_MEDIA_PLAY_PAUSE));
  return 0;
}
