; A per-user install of Velmora: no administrator rights, nothing outside the user's own folders and
; registry hive. makensis is given VERSION, PROGRAM (velmora.exe), LOCALE (the built share\locale
; folder) and OUTFILE on its command line (packaging/windows/CMakeLists.txt).
Unicode true
; The default 32-bit stub would install a 64-bit program through the 32-bit registry view.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

Name "Velmora"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Velmora"
InstallDirRegKey HKCU "Software\Dastrel\Velmora" "InstallFolder"

!include "MUI2.nsh"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Velmora"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Dastrel"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Velmora installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright Dastrel"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
!define SETTINGS_KEY "Software\Dastrel\Velmora"
; The keys the program's check box writes (platform/win32/RegistryAssociation.h).
!define CLASS_KEY "Software\Classes\cue_auto_file"
!define COMMAND_KEY "Software\Classes\cue_auto_file\Shell\Open\command"
!define EXTENSION_KEY "Software\Classes\.cue"
!define EXPLORER_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.cue"

Function .onInit
  SetShellVarContext current
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext current
  SetRegView 64
FunctionEnd

Section "Velmora" SectionProgram
  SectionIn RO
  ; The program finds its catalogues in ..\share\locale beside its own folder.
  SetOutPath "$INSTDIR\bin"
  File "/oname=velmora.exe" "${PROGRAM}"
  SetOutPath "$INSTDIR\share\locale"
  File /r "${LOCALE}/*.mo"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Velmora.lnk" "$INSTDIR\bin\velmora.exe"

  WriteRegStr HKCU "${SETTINGS_KEY}" "InstallFolder" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Velmora"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Dastrel"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\velmora.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Offered, and chosen unless the user clears it: the same entries as the program's check box, which
; then shows them ticked. ".cue" is mapped to the class only when nothing claims it yet.
Section "Open .cue files with Velmora" SectionAssociation
  WriteRegStr HKCU "${COMMAND_KEY}" "" '"$INSTDIR\bin\velmora.exe" "%1"'
  WriteRegStr HKCU "${COMMAND_KEY}" "DefaultIcon" "$INSTDIR\bin\velmora.exe,0"
  WriteRegStr HKCU "${EXPLORER_KEY}" "Application" '"$INSTDIR\bin\velmora.exe" "%1"'
  WriteRegStr HKCU "${EXPLORER_KEY}" "DefaultIcon" "$INSTDIR\bin\velmora.exe,0"
  ReadRegStr $0 HKCU "${EXTENSION_KEY}" ""
  StrCmp $0 "" 0 +2
    WriteRegStr HKCU "${EXTENSION_KEY}" "" "cue_auto_file"
  WriteRegDWORD HKCU "${SETTINGS_KEY}" "associate" 1
SectionEnd

; Takes away only what is Velmora's: another program's claim on ".cue" stays.
Section "Uninstall"
  Delete "$SMPROGRAMS\Velmora.lnk"
  Delete "$INSTDIR\bin\velmora.exe"
  RMDir /r "$INSTDIR\share\locale"
  RMDir "$INSTDIR\share"
  RMDir "$INSTDIR\bin"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  DeleteRegKey HKCU "${CLASS_KEY}"
  ReadRegStr $0 HKCU "${EXTENSION_KEY}" ""
  StrCmp $0 "cue_auto_file" 0 +2
    DeleteRegValue HKCU "${EXTENSION_KEY}" ""
  DeleteRegKey /ifempty HKCU "${EXTENSION_KEY}"
  ReadRegStr $0 HKCU "${EXPLORER_KEY}" "Application"
  StrCmp $0 '"$INSTDIR\bin\velmora.exe" "%1"' 0 +3
    DeleteRegValue HKCU "${EXPLORER_KEY}" "Application"
    DeleteRegValue HKCU "${EXPLORER_KEY}" "DefaultIcon"
  DeleteRegKey /ifempty HKCU "${EXPLORER_KEY}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Dastrel"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
