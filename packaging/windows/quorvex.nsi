; The Quorvex installer: Russian, into Program Files, with a Start-menu entry "Quorvex" that
; starts the program in the user's own folder (quorvex-launch.exe) and an uninstaller listed in
; "Programs and Features". /S installs or uninstalls silently. Made by tools/windows-package.sh:
;   makensis -DVERSION=0.1.0 -DICON=quorvex.ico -DFILES=files.nsh -DOUTFILE=setup.exe quorvex.nsi
; files.nsh defines the macros InstallFiles and UninstallFiles: the package's files one by one,
; so that the uninstaller removes what was installed and nothing else.
; A 64-bit installer for a 64-bit program (it also runs where Wine has no 32-bit part).
Target amd64-unicode
SetCompressor /SOLID lzma
!include MUI2.nsh
!include x64.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvex"

Name "Quorvex ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quorvex"
RequestExecutionLevel admin
BrandingText "Quorvex ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1049 "ProductName" "Quorvex"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка Quorvex"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "The Quorvex developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

!include "${FILES}"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Quorvex работает только в 64-разрядной Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Quorvex"
  SetShellVarContext all
  !insertmacro InstallFiles
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Quorvex.lnk" "$INSTDIR\quorvex-launch.exe" "" \
    "$INSTDIR\quorvex-launch.exe" 0 SW_SHOWNORMAL "" "Проверка фискального регистратора"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quorvex"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Quorvex developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvex.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The users' own folders (%LOCALAPPDATA%\Quorvex: settings, exchange logs) are their data and
; stay.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Quorvex.lnk"
  !insertmacro UninstallFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
