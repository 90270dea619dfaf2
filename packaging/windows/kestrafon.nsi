; The Windows installer: per user, without elevation, into
; %LOCALAPPDATA%\Programs\Kestrafon, with a Start-menu shortcut, an
; uninstaller registered for the user, and "Open with" for .mp3 and .kfl.
; It takes no default away from another program; .kfl is ours. A running
; player is closed before its files are replaced or removed, and an upgrade
; goes into the folder the first install chose.
;
; makensis -DVERSION=x.y.z -DEXE=path\kestrafon.exe -DLICENSE=path\LICENSE -DOUTFILE=setup.exe kestrafon.nsi
; A 64-bit installer: the program is 64-bit, and so is Wine here.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
!include LogicLib.nsh
!include WinMessages.nsh

!define APP "Kestrafon"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrafon"
!define CLASSES "Software\Classes"
!define PLAYLIST_PROGID "Kestrafon.Playlist"
!define MP3_PROGID "Kestrafon.MP3"
; The player's windows, and the mutex it holds for as long as it lives.
!define PLAYER_CLASS "KestrafonForm"
!define PLAYER_MUTEX "Local\Kestrafon.Player"
!define SYNCHRONIZE 0x00100000

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
; An upgrade reinstalls where the user chose (/D= still wins).
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "FileDescription" "${APP} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 the Kestrafon developers (MIT License)"

Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles
LicenseData "${LICENSE}"

; Asks a running player to close as its close button does, and waits (10 s
; at most) until it has gone and its exe can be written. If it stays (a
; dialog of its own is open, say), asks the user; cancelling, or a silent
; run, aborts before anything is touched.
!macro CLOSE_PLAYER_FUNCTION un
Function ${un}ClosePlayer
  Push $0
  Push $1
again:
  StrCpy $1 0
check:
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${PLAYER_MUTEX}") p .r0'
  ${If} $0 != 0
    System::Call 'kernel32::CloseHandle(p r0)'
  ${ElseIfNot} ${FileExists} "$INSTDIR\kestrafon.exe"
    Goto gone
  ${Else}
    ; The mutex goes a moment before the process does.
    ClearErrors
    FileOpen $0 "$INSTDIR\kestrafon.exe" a
    ${IfNot} ${Errors}
      FileClose $0
      Goto gone
    ${EndIf}
  ${EndIf}
  ${If} $1 >= 100
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${APP} is still running. Close it, then choose Retry." \
      /SD IDCANCEL IDRETRY again
    Abort "${APP} is still running."
  ${EndIf}
  ; Hidden in the tray, it still has its windows; the playlist's may come first.
  FindWindow $0 "${PLAYER_CLASS}"
  ${If} $0 != 0
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=1000
  ${EndIf}
  Sleep 100
  IntOp $1 $1 + 1
  Goto check
gone:
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_PLAYER_FUNCTION ""
!insertmacro CLOSE_PLAYER_FUNCTION "un."

Section "Kestrafon"
  SetShellVarContext current
  Call ClosePlayer
  SetOutPath "$INSTDIR"
  File "/oname=kestrafon.exe" "${EXE}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\kestrafon.exe"

  ; The uninstaller, for the user's "Apps" list.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Kestrafon developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kestrafon.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; "Open with": the application, the types it takes, and a ProgID for each.
  ; "Player": Explorer offers Open on a selection of any size and starts one
  ; process a file; the player gathers them into one list.
  WriteRegStr HKCU "${CLASSES}\Applications\kestrafon.exe" "FriendlyAppName" "${APP}"
  WriteRegStr HKCU "${CLASSES}\Applications\kestrafon.exe\shell\open\command" "" '"$INSTDIR\kestrafon.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\Applications\kestrafon.exe\shell\open" "MultiSelectModel" "Player"
  WriteRegStr HKCU "${CLASSES}\Applications\kestrafon.exe\SupportedTypes" ".mp3" ""
  WriteRegStr HKCU "${CLASSES}\Applications\kestrafon.exe\SupportedTypes" ".kfl" ""
  WriteRegStr HKCU "${CLASSES}\${PLAYLIST_PROGID}" "" "Kestrafon playlist"
  WriteRegStr HKCU "${CLASSES}\${PLAYLIST_PROGID}\DefaultIcon" "" "$INSTDIR\kestrafon.exe,0"
  WriteRegStr HKCU "${CLASSES}\${PLAYLIST_PROGID}\shell\open\command" "" '"$INSTDIR\kestrafon.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\${PLAYLIST_PROGID}\shell\open" "MultiSelectModel" "Player"
  WriteRegStr HKCU "${CLASSES}\${MP3_PROGID}" "" "MP3 audio (Kestrafon)"
  WriteRegStr HKCU "${CLASSES}\${MP3_PROGID}\DefaultIcon" "" "$INSTDIR\kestrafon.exe,0"
  WriteRegStr HKCU "${CLASSES}\${MP3_PROGID}\shell\open\command" "" '"$INSTDIR\kestrafon.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\${MP3_PROGID}\shell\open" "MultiSelectModel" "Player"
  ; .kfl is ours: its default too. .mp3 only offers us in "Open with".
  WriteRegStr HKCU "${CLASSES}\.kfl" "" "${PLAYLIST_PROGID}"
  WriteRegStr HKCU "${CLASSES}\.kfl\OpenWithProgids" "${PLAYLIST_PROGID}" ""
  WriteRegStr HKCU "${CLASSES}\.mp3\OpenWithProgids" "${MP3_PROGID}" ""
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'  ; SHCNE_ASSOCCHANGED
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Call un.ClosePlayer
  Delete "$SMPROGRAMS\${APP}.lnk"
  Delete "$INSTDIR\kestrafon.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey HKCU "${CLASSES}\Applications\kestrafon.exe"
  DeleteRegKey HKCU "${CLASSES}\${PLAYLIST_PROGID}"
  DeleteRegKey HKCU "${CLASSES}\${MP3_PROGID}"
  DeleteRegKey HKCU "${CLASSES}\.kfl"
  DeleteRegValue HKCU "${CLASSES}\.mp3\OpenWithProgids" "${MP3_PROGID}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.mp3\OpenWithProgids"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.mp3"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
