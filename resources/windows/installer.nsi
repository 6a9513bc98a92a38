; The Windows installer: the screen savers go where the display settings list them (the 64-bit
; one into System32 and the 32-bit one into SysWOW64 on 64-bit Windows, the 32-bit one into
; System32 on 32-bit Windows), with an entry in "Apps and features" and an uninstaller.
;
; makensis -DVERSION=2.0.1 -DFILE_VERSION=2.0.0.1 -DFILE_VERSION_TEXT=2.00.0001
;          -DPUBLISHER=... -DCOPYRIGHT=... -DSCR32=... -DSCR64=... -DICON=... -DSIZE32_KB=... -DSIZE64_KB=... -DOUTFILE=...
;
; /S installs with nothing shown and leaves every user setting as it was; /S /ACTIVATE also
; makes Moondial the current user's screen saver. The uninstaller takes /S too. The user's own
; Moondial settings are the user's data: neither touches them.

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include x64.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Moondial"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3

Name "Moondial"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Moondial"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "Moondial ${VERSION}"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey "ProductName" "Moondial"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "Moondial Setup"
VIAddVersionKey "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey "FileVersion" "${FILE_VERSION_TEXT}"
VIAddVersionKey "ProductVersion" "${FILE_VERSION_TEXT}"
VIAddVersionKey "OriginalFilename" "moondial-${VERSION}-setup.exe"

Var Activate ; 1 with /ACTIVATE

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Use Moondial as my screen saver"
!define MUI_FINISHPAGE_RUN_FUNCTION UseAsScreenSaver
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the screen saver settings"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64 ; the entry in the machine's own view, where "Apps and features" looks
    StrCpy $INSTDIR "$PROGRAMFILES64\Moondial"
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ACTIVATE" $1
  ${IfNot} ${Errors}
    StrCpy $Activate 1
  ${EndIf}
FunctionEnd

; The saver the display settings run: $SYSDIR names System32 whatever this installer's bitness,
; and there the 64-bit saver lies on 64-bit Windows.
Function UseAsScreenSaver
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\moondial.scr"
  ; Also writes ScreenSaveActive "1", and tells the running system.
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})'
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
FunctionEnd

; The system's own screen-saver page, with Moondial selected in it.
Function OpenScreenSaverSettings
  ${DisableX64FSRedirection}
  Exec '"$SYSDIR\rundll32.exe" desk.cpl,InstallScreenSaver $SYSDIR\moondial.scr'
  ${EnableX64FSRedirection}
FunctionEnd

Section "Moondial"
  SetOverwrite on
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    SetOutPath "$WINDIR\System32"
    File "/oname=moondial.scr" "${SCR64}"
    ${EnableX64FSRedirection}
    SetOutPath "$WINDIR\SysWOW64"
    File "/oname=moondial.scr" "${SCR32}"
  ${Else}
    SetOutPath "$SYSDIR"
    File "/oname=moondial.scr" "${SCR32}"
  ${EndIf}

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Moondial"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\moondial.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ${If} ${RunningX64}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE64_KB}
  ${Else}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE32_KB}
  ${EndIf}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; Silent, the finish page's choices are not offered: only /ACTIVATE makes one.
  ${If} ${Silent}
  ${AndIf} $Activate == 1
    Call UseAsScreenSaver
  ${EndIf}
SectionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; The current user's choice goes with the saver it names; any other choice stays.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\moondial.scr"
  ${OrIf} $0 == "$WINDIR\SysWOW64\moondial.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    Delete /REBOOTOK "$WINDIR\System32\moondial.scr"
    ${EnableX64FSRedirection}
    Delete /REBOOTOK "$WINDIR\SysWOW64\moondial.scr"
  ${Else}
    Delete /REBOOTOK "$SYSDIR\moondial.scr"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
