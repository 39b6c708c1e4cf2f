; Setup program of Korvex Camera Control: installs the deliverables into the
; 32-bit Program Files folder, registers the camera plug-in through
; Install_UvcCtrl.exe, adds the Start-menu shortcut and the uninstaller.
;
; Made by the build (setup/CMakeLists.txt) with:
;   KV_VERSION       the product version, four numbers
;   KV_DELIVERABLES  the generated list of files (KV_INSTALL_FILES,
;                    KV_REMOVE_FILES, and KV_SHORTCUT_PROGRAM when the
;                    windowed program is one of them)
;   KV_OUTFILE       the setup program to write
;
; Setting.ini, beside the programs, holds the exposure registers a user saved:
; it is never shipped, so installing over an older version leaves it as it is,
; and the uninstaller removes it only when asked (the component of that name,
; or /REMOVESETTINGS on its command line). The setup makes an empty one when
; there is none and lets the built-in Users group modify that file (and only
; it), since a standard user cannot write into the program folder.
;
; Neither the setup nor the uninstaller replaces or removes a file while
; KV_GUI_Ctrl.exe or KV_DS_Ctrl.exe runs from the install folder: they ask the
; windowed program to close, wait a bounded time, and otherwise stop with the
; folder as it was (exit status 4).

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include "${KV_DELIVERABLES}"

!define KV_PRODUCT "Korvex Camera Control"
!define KV_PUBLISHER "Korvex"
!define KV_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvexCameraControl"
!define KV_UNINSTALLER "Uninstall.exe"
!define KV_SHORTCUT "$SMPROGRAMS\${KV_PRODUCT}.lnk"
!define KV_HELPER "Install_UvcCtrl.exe"
!define KV_SETTINGS "Setting.ini"
; The built-in Users group by its SID, which every language of the system
; knows; modify rights, the settings file alone.
!define KV_SETTINGS_GRANT "*S-1-5-32-545:(M)"
; The programs that must not run while files are replaced, and the window
; class of the windowed one.
!define KV_GUI_PROGRAM "KV_GUI_Ctrl.exe"
!define KV_CONSOLE_PROGRAM "KV_DS_Ctrl.exe"
!define KV_GUI_WINDOW_CLASS "KV_GUI_Ctrl.Form1"
; How long they get to end once asked: steps of 250 ms.
!define KV_CLOSE_WAIT_STEPS 40
; The plug-in's vendor key, recorded machine-wide as well, so that the
; installation check of every user of the machine passes; the version is the
; one the check needs (Install_UvcCtrl.exe records the same for its user).
!define KV_VENDOR_KEY "Software\Zelmar\UVC Extension Control"
!define KV_VENDOR_PARENT "Software\Zelmar"
!define KV_PLUGIN_VERSION 0x1001
; Exit statuses besides NSIS's own.
!define KV_EXIT_NOT_REGISTERED 3
!define KV_EXIT_PROGRAMS_RUNNING 4
!define KV_EXIT_SETTINGS_NOT_SHARED 5

Name "${KV_PRODUCT}"
OutFile "${KV_OUTFILE}"
; An upgrade goes where the installed version is, unless /D= says otherwise.
InstallDir "$PROGRAMFILES32\Korvex\Camera Control"
InstallDirRegKey HKLM "${KV_UNINSTALL_KEY}" "InstallLocation"
BrandingText "${KV_PRODUCT} ${KV_VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${KV_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${KV_PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${KV_PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${KV_PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${KV_PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${KV_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${KV_VERSION}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The helper's own message box says what went wrong; a silent run asks it
; for its exit status only.
!macro KV_RUN_HELPER ARGUMENTS RESULT
  ${If} ${Silent}
    ExecWait '"$INSTDIR\${KV_HELPER}" ${ARGUMENTS} /q' ${RESULT}
  ${Else}
    ExecWait '"$INSTDIR\${KV_HELPER}" ${ARGUMENTS}' ${RESULT}
  ${EndIf}
!macroend

; Functions of the running-program check, for the setup (prefix "") and the
; uninstaller (prefix "un."); they use $R0 to $R9.
!macro KV_RUNNING_FUNCTIONS UN
  ; In $R0 a file; out $R1: 1 when a running program holds it (its image),
  ; so that it cannot be opened for writing by anyone; 0 otherwise, a
  ; missing file included.
  Function ${UN}KvFileInUse
    StrCpy $R1 0
    ${If} ${FileExists} "$R0"
      System::Call 'kernel32::CreateFileW(w R0, i 0x40000000, i 0, p 0, i 3, i 0x80, p 0) p .R2 ?e'
      Pop $R3
      ${If} $R2 = -1
        ${If} $R3 = 32      ; ERROR_SHARING_VIOLATION
        ${OrIf} $R3 = 33    ; ERROR_LOCK_VIOLATION
          StrCpy $R1 1
        ${EndIf}
      ${Else}
        System::Call 'kernel32::CloseHandle(p R2)'
      ${EndIf}
    ${EndIf}
  FunctionEnd

  ; Out $R9: the programs of ours that run from $INSTDIR, or "".
  Function ${UN}KvRunningPrograms
    StrCpy $R9 ""
    StrCpy $R0 "$INSTDIR\${KV_GUI_PROGRAM}"
    Call ${UN}KvFileInUse
    ${If} $R1 = 1
      StrCpy $R9 "${KV_GUI_PROGRAM}"
    ${EndIf}
    StrCpy $R0 "$INSTDIR\${KV_CONSOLE_PROGRAM}"
    Call ${UN}KvFileInUse
    ${If} $R1 = 1
      ${If} $R9 != ""
        StrCpy $R9 "$R9, "
      ${EndIf}
      StrCpy $R9 "$R9${KV_CONSOLE_PROGRAM}"
    ${EndIf}
  FunctionEnd

  ; Asks every window of the windowed program started from $INSTDIR to
  ; close, as its own close box would; one started from elsewhere is left.
  Function ${UN}KvAskToClose
    StrCpy $R4 0
    ${Do}
      System::Call 'user32::FindWindowExW(p 0, p R4, w "${KV_GUI_WINDOW_CLASS}", p 0) p .R4'
      ${If} $R4 = 0
        ${Break}
      ${EndIf}
      System::Call 'user32::GetWindowThreadProcessId(p R4, *i .R5)'
      ; PROCESS_QUERY_LIMITED_INFORMATION
      System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i R5) p .R6'
      ${If} $R6 <> 0
        StrCpy $R7 ""
        System::Call 'kernel32::QueryFullProcessImageNameW(p R6, i 0, w .R7, *i ${NSIS_MAX_STRLEN})'
        System::Call 'kernel32::CloseHandle(p R6)'
        ${If} $R7 == "$INSTDIR\${KV_GUI_PROGRAM}"
          DetailPrint "Asking ${KV_GUI_PROGRAM} to close"
          System::Call 'user32::PostMessageW(p R4, i 0x0010, p 0, p 0)'  ; WM_CLOSE
        ${EndIf}
      ${EndIf}
    ${Loop}
  FunctionEnd

  ; Returns once nothing of ours runs from $INSTDIR; when something still
  ; does after the bounded wait (and the user does not retry), sets exit
  ; status 4 and aborts, before anything was changed.
  Function ${UN}KvEnsureNotRunning
    ${Do}
      Call ${UN}KvRunningPrograms
      ${If} $R9 == ""
        Return
      ${EndIf}
      Call ${UN}KvAskToClose
      StrCpy $R8 0
      ${Do}
        Sleep 250
        Call ${UN}KvRunningPrograms
        IntOp $R8 $R8 + 1
        ${If} $R9 == ""
        ${OrIf} $R8 >= ${KV_CLOSE_WAIT_STEPS}
          ${ExitDo}
        ${EndIf}
      ${Loop}
      ${If} $R9 == ""
        Return
      ${EndIf}
      DetailPrint "Still running from $INSTDIR: $R9"
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(KV_RUNNING_TEXT)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel ${KV_EXIT_PROGRAMS_RUNNING}
      Abort "$(KV_RUNNING_ABORT)"
      retry:
    ${Loop}
  FunctionEnd
!macroend

!insertmacro KV_RUNNING_FUNCTIONS ""
!insertmacro KV_RUNNING_FUNCTIONS "un."

LangString KV_RUNNING_TEXT ${LANG_ENGLISH} "Korvex Camera Control is running from $INSTDIR ($R9) and did not close. \
  Close it, then choose Retry; Cancel stops here, with nothing changed."
LangString KV_RUNNING_ABORT ${LANG_ENGLISH} "Stopped: $R9 still running from $INSTDIR; nothing was changed."

; An empty Setting.ini when there is none (never replacing one), and modify
; rights on it for the built-in Users group, so that saveexposure works for
; a standard user. A grant that fails leaves the install in place and ends
; with exit status 5.
Function KvShareSettings
  StrCpy $R0 "$INSTDIR\${KV_SETTINGS}"
  ${IfNot} ${FileExists} "$R0"
    ClearErrors
    FileOpen $R1 "$R0" w
    ${IfNot} ${Errors}
      FileClose $R1
    ${EndIf}
  ${EndIf}
  ; By full path: never an icacls.exe from the current folder or PATH.
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$R0" /grant ${KV_SETTINGS_GRANT}'
  Pop $R1
  ${If} $R1 != 0
    DetailPrint "icacls ended with $R1: users cannot save exposure settings in $R0"
    MessageBox MB_OK|MB_ICONEXCLAMATION "The installed programs work, but users other than administrators \
      cannot save exposure settings: $R0 could not be made writable for them (icacls: $R1)." /SD IDOK
    SetErrorLevel ${KV_EXIT_SETTINGS_NOT_SHARED}
  ${EndIf}
FunctionEnd

Section "${KV_PRODUCT}" SecProgram
  SectionIn RO
  SetShellVarContext all
  ; Before the folder is touched at all.
  Call KvEnsureNotRunning
  SetOutPath "$INSTDIR"
  !insertmacro KV_INSTALL_FILES
  WriteUninstaller "$INSTDIR\${KV_UNINSTALLER}"

  ; The uninstall entry comes before the registration, so that a failed
  ; registration can still be removed.
  WriteRegStr HKLM "${KV_UNINSTALL_KEY}" "DisplayName" "${KV_PRODUCT}"
  WriteRegStr HKLM "${KV_UNINSTALL_KEY}" "DisplayVersion" "${KV_VERSION}"
  WriteRegStr HKLM "${KV_UNINSTALL_KEY}" "Publisher" "${KV_PUBLISHER}"
  WriteRegStr HKLM "${KV_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${KV_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${KV_UNINSTALLER}"'
  WriteRegStr HKLM "${KV_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${KV_UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${KV_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KV_UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${KV_UNINSTALL_KEY}" "EstimatedSize" $0

  !ifdef KV_SHORTCUT_PROGRAM
    CreateShortcut "${KV_SHORTCUT}" "$INSTDIR\${KV_SHORTCUT_PROGRAM}"
    WriteRegStr HKLM "${KV_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${KV_SHORTCUT_PROGRAM}"
  !endif

  Call KvShareSettings

  ; Recorded again only once this registration has worked, so that a failed
  ; one is never taken for complete by another user's check.
  DeleteRegValue HKLM "${KV_VENDOR_KEY}" "Version Number"
  DetailPrint "Registering the camera plug-in"
  ClearErrors
  StrCpy $0 ""
  !insertmacro KV_RUN_HELPER "" $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    DetailPrint "Install_UvcCtrl.exe ended with status $0: the camera plug-in is not registered"
    MessageBox MB_OK|MB_ICONSTOP "The camera plug-in could not be registered (status $0). \
      The files are installed; run $INSTDIR\${KV_HELPER} as an administrator, or run this setup again." /SD IDOK
    SetErrorLevel ${KV_EXIT_NOT_REGISTERED}
    Abort
  ${EndIf}
  WriteRegDWORD HKLM "${KV_VENDOR_KEY}" "Version Number" ${KV_PLUGIN_VERSION}
  WriteRegStr HKLM "${KV_VENDOR_KEY}" "FileName Path" "$INSTDIR\zelunit.dll"
SectionEnd

Section "un.${KV_PRODUCT}" SecUnProgram
  SectionIn RO
  SetShellVarContext all
  ; Before anything is unregistered or removed.
  Call un.KvEnsureNotRunning
  ; The machine-wide record goes first, so that no user's check takes a
  ; registration being removed for a complete one.
  DeleteRegValue HKLM "${KV_VENDOR_KEY}" "Version Number"
  DeleteRegValue HKLM "${KV_VENDOR_KEY}" "FileName Path"
  DeleteRegKey /ifempty HKLM "${KV_VENDOR_KEY}"
  DeleteRegKey /ifempty HKLM "${KV_VENDOR_PARENT}"
  ; The files go whatever the helper says, so that an install whose
  ; registration failed can still be removed.
  DetailPrint "Unregistering the camera plug-in"
  ClearErrors
  StrCpy $0 ""
  !insertmacro KV_RUN_HELPER "/u" $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    DetailPrint "Install_UvcCtrl.exe /u ended with status $0"
  ${EndIf}
  !insertmacro KV_REMOVE_FILES
  Delete "$INSTDIR\${KV_UNINSTALLER}"
  ; An older version may have made one even if this one has no program for it.
  Delete "${KV_SHORTCUT}"
  DeleteRegKey HKLM "${KV_UNINSTALL_KEY}"
SectionEnd

Section /o "un.Saved exposure settings" SecUnSettings
  Delete "$INSTDIR\Setting.ini"
SectionEnd

Section "-un.Folders"
  ; Only when empty: a kept Setting.ini keeps its folder.
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES32\Korvex"
SectionEnd

LangString DESC_SecUnSettings ${LANG_ENGLISH} "Setting.ini, the exposure registers saved with saveexposure. Kept unless selected."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnSettings} $(DESC_SecUnSettings)
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecUnSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
