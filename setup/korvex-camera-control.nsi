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
; or /REMOVESETTINGS on its command line).

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

Section "${KV_PRODUCT}" SecProgram
  SectionIn RO
  SetShellVarContext all
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

  DetailPrint "Registering the camera plug-in"
  ClearErrors
  StrCpy $0 ""
  !insertmacro KV_RUN_HELPER "" $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    DetailPrint "Install_UvcCtrl.exe ended with status $0: the camera plug-in is not registered"
    MessageBox MB_OK|MB_ICONSTOP "The camera plug-in could not be registered (status $0). \
      The files are installed; run $INSTDIR\${KV_HELPER} as an administrator, or run this setup again." /SD IDOK
    SetErrorLevel 3
    Abort
  ${EndIf}
SectionEnd

Section "un.${KV_PRODUCT}" SecUnProgram
  SectionIn RO
  SetShellVarContext all
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
