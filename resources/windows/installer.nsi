; The Windows installer: the screen savers go where the display settings list them (the 64-bit
; one into System32 and the 32-bit one into SysWOW64 on 64-bit Windows, the 32-bit one into
; System32 on 32-bit Windows), with an entry in "Apps and features" and an uninstaller.
;
; makensis -DVERSION=2.0.1 -DFILE_VERSION=2.0.0.1 -DFILE_VERSION_TEXT=2.00.0001
;          -DPUBLISHER=... -DCOPYRIGHT=... -DSCR32=... -DSCR64=... -DICON=... -DSIZE32_KB=... -DSIZE64_KB=... -DOUTFILE=...
;
; /S installs with nothing shown and leaves every user setting as it was; /S /ACTIVATE also
; makes Moondial the current user's screen saver (run as SYSTEM, as management tools install,
; there is no user to choose it for: it changes no profile and says so in install.log). /D=DIR
; names the folder of the uninstaller. The uninstaller takes /S too. The user's own Moondial
; settings are the user's data: neither touches them.
;
; Exit codes: 0 done; 3010 (uninstaller) done, a saver in use goes at the next restart; 740 not
; run as an administrator; 1603 a saver could not be replaced, or a file or the uninstall entry
; not written, which the message names; 2 a file the system refused while written; 1 cancelled.
;
; -DTARGET=amd64-unicode makes a 64-bit installer, which the tests run where no 32-bit program
; runs; the one shipped is 32-bit, for every Windows.

!ifdef TARGET
Target ${TARGET}
!else
Unicode true
!endif
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
!define ERROR_INSTALL_FAILURE 1603
!define ERROR_ELEVATION_REQUIRED 740
!define ERROR_SUCCESS_REBOOT_REQUIRED 3010

Name "Moondial"
OutFile "${OUTFILE}"
!ifdef SIGN
; Signed where the certificate is given: the uninstaller before it is taken in, then the
; installer itself.
!uninstfinalize '"${SIGN}" "%1"' = 0
!finalize '"${SIGN}" "%1"' = 0
!endif
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

; A file that cannot be written fails the install: it is never skipped.
AllowSkipFiles off

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

; Files in System32 and the machine's registry: without an administrator's rights every write
; would fail.
!macro NeedAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_ICONSTOP "Moondial can only be installed or removed by an administrator." /SD IDOK
    SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
    Quit
  ${EndIf}
!macroend

; Says what failed and ends with the installer's failure code.
Function Fail ; the text, on the stack
  Exch $0
  MessageBox MB_ICONSTOP "$0" /SD IDOK
  DetailPrint "$0"
  SetErrorLevel ${ERROR_INSTALL_FAILURE}
  Quit ; an Abort would end with its own code, 2, whatever was set
FunctionEnd
!macro Fail TEXT
  Push "${TEXT}"
  Call Fail
!macroend

; A saver in use (the display settings' preview runs the installed one) can be neither
; overwritten nor deleted, but can be renamed: it is moved aside under a name of its own and
; removed at once if it can be, else at the next restart. Its own name is free then, so a file
; written there later is not removed with it. $R2 is "held" where even the rename failed.
; (LogicLib's error tests clear the error flag: the outcome goes in $R2, not in the flag.)
!macro MoveAside DIR
  StrCpy $R2 "free"
  ${If} ${FileExists} "${DIR}\moondial.scr"
    ClearErrors
    GetTempFileName $R1 "${DIR}"
    Delete $R1
    Rename "${DIR}\moondial.scr" $R1
    ${If} ${Errors}
      StrCpy $R2 "held"
    ${Else}
      Delete /REBOOTOK $R1
    ${EndIf}
  ${EndIf}
!macroend

; Puts one saver in place, or fails saying why.
!macro PutSaver DIR SOURCE
  !insertmacro MoveAside "${DIR}"
  ${If} $R2 == "held"
    !insertmacro Fail "${DIR}\moondial.scr cannot be replaced: a program holds it, or the folder cannot be written.$\r$\n$\r$\nClose the screen saver settings and any running Moondial, then run the installer again."
  ${EndIf}
  SetOutPath "${DIR}"
  ClearErrors
  File "/oname=moondial.scr" "${SOURCE}"
  ${If} ${Errors}
    !insertmacro Fail "${DIR}\moondial.scr could not be written."
  ${EndIf}
!macroend

; The SYSTEM account (S-1-5-18), as management tools run installers: its profile is no user's.
; Known by its SID, which no language renames.
!macro RunningAsSystem RESULT
  StrCpy ${RESULT} 0
  System::Call 'kernel32::GetCurrentProcess() p .R0'
  System::Call 'advapi32::OpenProcessToken(p R0, i 8, *p .R1) i .R2' ; TOKEN_QUERY
  ${If} $R2 != 0
    System::Call 'advapi32::GetTokenInformation(p R1, i 1, p 0, i 0, *i .R3)' ; TokenUser
    System::Alloc $R3
    Pop $R4
    System::Call 'advapi32::GetTokenInformation(p R1, i 1, p R4, i R3, *i .R3) i .R2'
    ${If} $R2 != 0
      System::Call '*$R4(p .R5)' ; TOKEN_USER's SID
      System::Call 'advapi32::ConvertSidToStringSidW(p R5, *p .R6) i .R2'
      ${If} $R2 != 0
        System::Call '*$R6(&w64 .R7)'
        System::Call 'kernel32::LocalFree(p R6)'
        ${If} $R7 == "S-1-5-18"
          StrCpy ${RESULT} 1
        ${EndIf}
      ${EndIf}
    ${EndIf}
    System::Free $R4
    System::Call 'kernel32::CloseHandle(p R1)'
  ${EndIf}
!macroend

Function .onInit
  !insertmacro NeedAdministrator
  ${If} ${RunningX64}
    SetRegView 64 ; the entry in the machine's own view, where "Apps and features" looks
    ; The 64-bit folder, unless /D= named another.
    ${If} $INSTDIR == "$PROGRAMFILES\Moondial"
      StrCpy $INSTDIR "$PROGRAMFILES64\Moondial"
    ${EndIf}
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
    !insertmacro PutSaver "$WINDIR\System32" "${SCR64}"
    ${EnableX64FSRedirection}
    !insertmacro PutSaver "$WINDIR\SysWOW64" "${SCR32}"
  ${Else}
    !insertmacro PutSaver "$SYSDIR" "${SCR32}"
  ${EndIf}
  ; The new savers work at once: a copy in use left to go at the next restart is no reason to
  ; ask for one.
  SetRebootFlag false

  SetOutPath "$INSTDIR"
  ClearErrors
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${If} ${Errors}
    !insertmacro Fail "$INSTDIR\uninstall.exe could not be written."
  ${EndIf}
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
  ${If} ${Errors}
    !insertmacro Fail "The uninstall entry could not be written."
  ${EndIf}

  ; Silent, the finish page's choices are not offered: only /ACTIVATE makes one.
  ${If} ${Silent}
  ${AndIf} $Activate == 1
    !insertmacro RunningAsSystem $0
    ${If} $0 == 1
      FileOpen $1 "$INSTDIR\install.log" a
      FileSeek $1 0 END
      FileWrite $1 "Moondial ${VERSION}: /ACTIVATE ignored: run as SYSTEM, there is no user whose screen saver to choose; no profile was changed.$\r$\n"
      FileClose $1
      DetailPrint "/ACTIVATE ignored: run as SYSTEM"
    ${Else}
      Call UseAsScreenSaver
    ${EndIf}
  ${EndIf}
SectionEnd

Function un.onInit
  !insertmacro NeedAdministrator
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
FunctionEnd

; A saver held so that it cannot even be renamed is deleted at the next restart under its own name.
!macro RemoveSaver DIR
  !insertmacro MoveAside "${DIR}"
  ${If} $R2 == "held"
    Delete /REBOOTOK "${DIR}\moondial.scr"
  ${EndIf}
!macroend

Section "Uninstall"
  ; The current user's choice goes with the saver it names; any other choice stays.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$SYSDIR\moondial.scr"
  ${OrIf} $0 == "$WINDIR\SysWOW64\moondial.scr"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    !insertmacro RemoveSaver "$WINDIR\System32"
    ${EnableX64FSRedirection}
    !insertmacro RemoveSaver "$WINDIR\SysWOW64"
  ${Else}
    !insertmacro RemoveSaver "$SYSDIR"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  Delete "$INSTDIR\install.log"
  RMDir "$INSTDIR"
  ; A saver in use goes at the next restart: said, and the code for it returned.
  ${If} ${RebootFlag}
    MessageBox MB_ICONINFORMATION "Moondial is removed. A copy still in use will be deleted when Windows restarts." /SD IDOK
    SetErrorLevel ${ERROR_SUCCESS_REBOOT_REQUIRED}
    SetRebootFlag false
  ${EndIf}
SectionEnd
