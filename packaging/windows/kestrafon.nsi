; The Windows installer: per user, without elevation, into
; %LOCALAPPDATA%\Programs\Kestrafon, with a Start-menu shortcut, an
; uninstaller registered for the user, and "Open with" for .mp3 and .kfl.
; It takes no default away from another program; .kfl is ours.
;
; makensis -DVERSION=x.y.z -DEXE=path\kestrafon.exe -DLICENSE=path\LICENSE -DOUTFILE=setup.exe kestrafon.nsi
; A 64-bit installer: the program is 64-bit, and so is Wine here.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define APP "Kestrafon"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrafon"
!define CLASSES "Software\Classes"
!define PLAYLIST_PROGID "Kestrafon.Playlist"
!define MP3_PROGID "Kestrafon.MP3"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
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

Section "Kestrafon"
  SetShellVarContext current
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
  WriteRegStr HKCU "${CLASSES}\Applications\kestrafon.exe" "FriendlyAppName" "${APP}"
  WriteRegStr HKCU "${CLASSES}\Applications\kestrafon.exe\shell\open\command" "" '"$INSTDIR\kestrafon.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\Applications\kestrafon.exe\SupportedTypes" ".mp3" ""
  WriteRegStr HKCU "${CLASSES}\Applications\kestrafon.exe\SupportedTypes" ".kfl" ""
  WriteRegStr HKCU "${CLASSES}\${PLAYLIST_PROGID}" "" "Kestrafon playlist"
  WriteRegStr HKCU "${CLASSES}\${PLAYLIST_PROGID}\DefaultIcon" "" "$INSTDIR\kestrafon.exe,0"
  WriteRegStr HKCU "${CLASSES}\${PLAYLIST_PROGID}\shell\open\command" "" '"$INSTDIR\kestrafon.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\${MP3_PROGID}" "" "MP3 audio (Kestrafon)"
  WriteRegStr HKCU "${CLASSES}\${MP3_PROGID}\DefaultIcon" "" "$INSTDIR\kestrafon.exe,0"
  WriteRegStr HKCU "${CLASSES}\${MP3_PROGID}\shell\open\command" "" '"$INSTDIR\kestrafon.exe" "%1"'
  ; .kfl is ours: its default too. .mp3 only offers us in "Open with".
  WriteRegStr HKCU "${CLASSES}\.kfl" "" "${PLAYLIST_PROGID}"
  WriteRegStr HKCU "${CLASSES}\.kfl\OpenWithProgids" "${PLAYLIST_PROGID}" ""
  WriteRegStr HKCU "${CLASSES}\.mp3\OpenWithProgids" "${MP3_PROGID}" ""
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'  ; SHCNE_ASSOCCHANGED
SectionEnd

Section "Uninstall"
  SetShellVarContext current
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
