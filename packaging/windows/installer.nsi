; The Windows installer: a per-user setup of the same files as the portable zip, built
; by makensis on Debian (see cmake/TintaraInstaller.cmake, target "setup").
;   makensis -DTINTARA_VERSION=1.0.0 -DTINTARA_VERSION4=1.0.0.0 -DGENERATED=DIR
;            -DOUTFILE=tintara-1.0.0-win64-setup.exe [-DTINTARA_ICON=tintara.ico] installer.nsi
; DIR holds files.nsh (File lines, INSTALLED_SIZE_KB), unfiles.nsh (Delete and RMDir
; lines in reverse) and licence.txt, all written by installer-files.cmake.
; Installs into %LOCALAPPDATA%\Programs\Tintara without administrator rights, adds the
; Start menu shortcut, "Open with" for .mdl and .bgl and the Apps & features entry
; under HKCU; the uninstaller takes away exactly those, and the settings only on request.
; With the editor running, a silent run exits with code 2 before changing anything.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include nsDialogs.nsh

!define PRODUCT "Tintara Material Editor"
!define PUBLISHER "Norvel Graphics"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tintara"
!define CLASSES "Software\Classes"
!define PROGID "Tintara.Model"
!define SETTINGS_KEY "Software\Norvel\Tintarax"
!define SHORTCUT "${PRODUCT}.lnk"
!define SHCNE_ASSOCCHANGED 0x08000000

!include "${GENERATED}/files.nsh"
!include "${GENERATED}/unfiles.nsh"

Name "${PRODUCT} ${TINTARA_VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tintara"
; An earlier installation's folder is the default, so an upgrade replaces it in place.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${TINTARA_VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

Var OldDir
Var RemoveSettings
Var RemoveSettingsBox

!ifdef TINTARA_ICON
  !define MUI_ICON "${TINTARA_ICON}"
  !define MUI_UNICON "${TINTARA_ICON}"
!endif
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "This will install ${PRODUCT} ${TINTARA_VERSION} for you alone: \
no administrator rights are needed.$\r$\n$\r$\nThe editor will be in the Start menu, and \
$\"Open with$\" on a .mdl or .bgl file in Explorer will offer it.$\r$\n$\r$\nIf the editor \
is running, close it before you continue.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${GENERATED}/licence.txt"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\tintara.exe"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
; The finish page's second box makes the optional desktop shortcut.
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Add a shortcut to the desktop"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION AddDesktopShortcut
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.OptionsPage un.OptionsLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${TINTARA_VERSION4}"
VIFileVersion "${TINTARA_VERSION4}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${TINTARA_VERSION4}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${TINTARA_VERSION4}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) 2026 The Tintara developers"

; Sets $0 to the first of the two programs in folder $1 that cannot be opened for
; writing because it is running, or to "" when neither is.
!macro RunningProgram un
Function ${un}RunningProgram
  Push $2
  Push $3
  StrCpy $0 ""
  ${If} $1 != ""
    ${ForEach} $2 0 1 + 1
      ${If} $2 = 0
        StrCpy $0 "$1\tintara.exe"
      ${Else}
        StrCpy $0 "$1\tintara-cli.exe"
      ${EndIf}
      ${If} ${FileExists} $0
        ClearErrors
        FileOpen $3 $0 a
        ${IfNot} ${Errors}
          FileClose $3
          StrCpy $0 ""
        ${EndIf}
      ${Else}
        StrCpy $0 ""
      ${EndIf}
      ${If} $0 != ""
        ${Break}
      ${EndIf}
    ${Next}
  ${EndIf}
  Pop $3
  Pop $2
FunctionEnd

; Asks until the program in folder $1 is closed: $0 is "" afterwards, or still names
; it when the user gave up. A silent run never asks: it ends with code 2 at once.
Function ${un}WaitUntilClosed
  ${Do}
    Call ${un}RunningProgram
    ${If} $0 == ""
      ${Break}
    ${EndIf}
    ${If} ${Silent}
      SetErrorLevel 2
      Quit
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running:$\r$\n$0$\r$\n$\r$\n\
Close it (save your work first), then choose Retry." /SD IDCANCEL IDRETRY retry
    ${Break}
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro RunningProgram ""
!insertmacro RunningProgram "un."

; Tells Explorer that file associations changed.
!macro NotifyShell
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
!macroend

; Nothing may be running from the chosen folder or from an earlier installation's.
!macro CheckBothFolders
  StrCpy $1 $INSTDIR
  Call WaitUntilClosed
  ${If} $0 == ""
  ${AndIf} $OldDir != ""
  ${AndIf} $OldDir != $INSTDIR
    StrCpy $1 $OldDir
    Call WaitUntilClosed
  ${EndIf}
!macroend

Function .onInit
  ReadRegStr $OldDir HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} ${Silent}
    !insertmacro CheckBothFolders
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  !insertmacro CheckBothFolders
  ${If} $0 != ""
    Abort
  ${EndIf}
FunctionEnd

Section "Install"
  !insertmacro CheckBothFolders
  ${If} $0 != ""
    Abort "${PRODUCT} is still running; nothing was changed."
  ${EndIf}

  ; An earlier version leaves by its own uninstaller (silently, so the settings stay),
  ; which takes away files this version no longer has; a desktop shortcut comes back.
  ReadRegDWORD $3 HKCU "${UNINSTALL_KEY}" "DesktopShortcut"
  ${If} $OldDir != ""
  ${AndIf} ${FileExists} "$OldDir\uninstall.exe"
    DetailPrint "Removing the earlier version from $OldDir"
    ExecWait '"$OldDir\uninstall.exe" /S _?=$OldDir' $0
    Delete "$OldDir\uninstall.exe"
    RMDir "$OldDir"
  ${EndIf}

  !insertmacro TINTARA_FILES
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetOutPath "$INSTDIR"
  SetShellVarContext current
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\tintara.exe" "" "$INSTDIR\tintara.exe" 0 \
    SW_SHOWNORMAL "" "Edit the materials of model and scenery files"

  ; "Open with": our own ProgID, offered for both extensions, never their default.
  WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "Flight simulator model"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\tintara.exe,0"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\tintara.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\Applications\tintara.exe" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr HKCU "${CLASSES}\Applications\tintara.exe\shell\open\command" "" '"$INSTDIR\tintara.exe" "%1"'
  WriteRegStr HKCU "${CLASSES}\Applications\tintara.exe\SupportedTypes" ".mdl" ""
  WriteRegStr HKCU "${CLASSES}\Applications\tintara.exe\SupportedTypes" ".bgl" ""
  WriteRegNone HKCU "${CLASSES}\.mdl\OpenWithProgids" "${PROGID}"
  WriteRegNone HKCU "${CLASSES}\.bgl\OpenWithProgids" "${PROGID}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${TINTARA_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tintara.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${INSTALLED_SIZE_KB}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} $3 = 1
    Call AddDesktopShortcut
  ${EndIf}
  !insertmacro NotifyShell
SectionEnd

Function AddDesktopShortcut
  SetShellVarContext current
  CreateShortcut "$DESKTOP\${SHORTCUT}" "$INSTDIR\tintara.exe" "" "$INSTDIR\tintara.exe" 0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "DesktopShortcut" 1
FunctionEnd

Function un.onInit
  ${If} ${Silent}
    StrCpy $1 $INSTDIR
    Call un.WaitUntilClosed
  ${EndIf}
  StrCpy $RemoveSettings 0
FunctionEnd

Function un.OptionsPage
  !insertmacro MUI_HEADER_TEXT "Uninstall ${PRODUCT}" "Remove ${PRODUCT} from your computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 48u "${PRODUCT} will be removed from:$\r$\n$INSTDIR$\r$\n$\r$\n\
Unfinished saves kept in %LOCALAPPDATA%\Tintara stay where they are."
  Pop $0
  ${NSD_CreateCheckbox} 0 56u 100% 12u "Also remove my settings"
  Pop $RemoveSettingsBox
  nsDialogs::Show
FunctionEnd

Function un.OptionsLeave
  ${NSD_GetState} $RemoveSettingsBox $RemoveSettings
  StrCpy $1 $INSTDIR
  Call un.WaitUntilClosed
  ${If} $0 != ""
    Abort
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ReadRegDWORD $3 HKCU "${UNINSTALL_KEY}" "DesktopShortcut"
  !insertmacro TINTARA_UNFILES
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext current
  Delete "$SMPROGRAMS\${SHORTCUT}"
  ${If} $3 = 1
    Delete "$DESKTOP\${SHORTCUT}"
  ${EndIf}

  DeleteRegKey HKCU "${CLASSES}\${PROGID}"
  ; Windows may have made Applications\tintara.exe itself for a portable copy: our
  ; values go, the keys only when nothing else is left in them. So for the extensions.
  !define APP "${CLASSES}\Applications\tintara.exe"
  DeleteRegValue HKCU "${APP}" "FriendlyAppName"
  DeleteRegValue HKCU "${APP}\shell\open\command" ""
  DeleteRegKey /ifempty HKCU "${APP}\shell\open\command"
  DeleteRegKey /ifempty HKCU "${APP}\shell\open"
  DeleteRegKey /ifempty HKCU "${APP}\shell"
  DeleteRegValue HKCU "${APP}\SupportedTypes" ".mdl"
  DeleteRegValue HKCU "${APP}\SupportedTypes" ".bgl"
  DeleteRegKey /ifempty HKCU "${APP}\SupportedTypes"
  DeleteRegKey /ifempty HKCU "${APP}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\Applications"
  DeleteRegValue HKCU "${CLASSES}\.mdl\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.mdl\OpenWithProgids"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.mdl"
  DeleteRegValue HKCU "${CLASSES}\.bgl\OpenWithProgids" "${PROGID}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.bgl\OpenWithProgids"
  DeleteRegKey /ifempty HKCU "${CLASSES}\.bgl"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ${If} $RemoveSettings = ${BST_CHECKED}
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Norvel"
  ${EndIf}
  !insertmacro NotifyShell
SectionEnd
