; The Zorvex IDE's setup program. It installs for the current user only, without
; administrator rights, into a folder of the user's own: the IDE writes its settings file and
; scratch files beside itself, so it must not land where a normal user cannot write.
; make_package.py passes VERSION, STAGE (the staged program folder), GENERATED (the file lists
; written from it), SIZE_KB, OUTFILE, and what tells the 32-bit and the 64-bit release apart:
; TARGET (the setup program's own architecture), PRODUCT (the name users see), APP_ID (the
; default folder, the entry in the list of installed apps and the file classes) and
; OTHER_APP_ID (the other release's). Both releases install side by side, neither touching the
; other's files, entry or classes; the IDE keeps its settings beside itself.
Target ${TARGET}
Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PUBLISHER "The Zorvex IDE project"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_ID}"
!define CLASSES "Software\Classes"
!define OPEN_COMMAND '"$INSTDIR\ZorvexIde.exe" "%1"'
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define SHCNE_ASSOCCHANGED 0x08000000

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP_ID}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${STAGE}/zitronenfalter.ico"
!define MUI_UNICON "${STAGE}/zitronenfalter.ico"
!define MUI_ABORTWARNING

!define MUI_DIRECTORYPAGE_TEXT_TOP "The IDE keeps its settings file and scratch files beside itself, so choose a folder you can write to (your own folders are best; not $\"Program Files$\")."
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFolderWritable
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\ZorvexIde.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "The files that setup installed are removed from this folder, with the Start-menu entry and the file associations. Your own files there stay: sources, projects, the settings file zorvexIde.cfg, the scratch files, and any installed file that you have changed."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; True (no error flag) when a file can be created in $INSTDIR; creates the folder.
!macro TryWriteFolder
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $0 "$INSTDIR\zorvex-setup-probe.tmp" w
  ${IfNot} ${Errors}
    FileClose $0
    Delete "$INSTDIR\zorvex-setup-probe.tmp"
  ${EndIf}
!macroend

Function CheckFolderWritable
  !insertmacro TryWriteFolder
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "You cannot write to $INSTDIR.$\r$\nThe IDE writes its settings and scratch files beside itself: please choose a folder of your own."
    Abort
  ${EndIf}
FunctionEnd

Section "!${PRODUCT}" SecProgram
  SectionIn RO
  !insertmacro TryWriteFolder
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "You cannot write to $INSTDIR; nothing was installed." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  !include "${GENERATED}/install_files.nsh"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The shortcut starts the IDE in its own folder (the output path), where it finds its files.
  SetOutPath "$INSTDIR"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\ZorvexIde.exe" "" "$INSTDIR\zitronenfalter.ico" 0 \
    SW_SHOWNORMAL "" "${PRODUCT}: edit, build and run Zorvex Basic"

  ; The user's list of installed apps.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zitronenfalter.ico"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Makes EXT open with the IDE through the per-user class PROGID. A default that another
; program (or the other release of the IDE) had set is kept in the value APP_ID.previous, so
; removing the IDE restores it.
!macro Associate EXT PROGID DESCRIPTION
  WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "${DESCRIPTION}"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\zitronenfalter.ico"
  WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '${OPEN_COMMAND}'
  ReadRegStr $0 HKCU "${CLASSES}\${EXT}" ""
  ${If} $0 != ""
  ${AndIf} $0 != "${PROGID}"
    WriteRegStr HKCU "${CLASSES}\${EXT}" "${APP_ID}.previous" $0
  ${EndIf}
  WriteRegStr HKCU "${CLASSES}\${EXT}" "" "${PROGID}"
  WriteRegStr HKCU "${CLASSES}\${EXT}\OpenWithProgids" "${PROGID}" ""
!macroend

Section "File associations" SecAssociate
  !insertmacro Associate ".zobas" "${APP_ID}.zobas" "Zorvex Basic source"
  !insertmacro Associate ".zoproj" "${APP_ID}.zoproj" "${PRODUCT} project"
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The IDE, its editing component, compiler, help and pictures, a Start-menu entry and an entry in the list of installed apps."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecAssociate} "Double-clicking a .zobas source or a .zoproj project opens it in the IDE."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Removes one installed file unless it was changed since: its last-write time (HIGH and LOW
; words, as setup gave it) then differs, and the file is the user's work now.
!macro RemoveInstalled NAME HIGH LOW
  ClearErrors
  GetFileTime "$INSTDIR\${NAME}" $0 $1
  ${IfNot} ${Errors}
    ${If} $0 = ${HIGH}
    ${AndIf} $1 = ${LOW}
      Delete "$INSTDIR\${NAME}"
    ${Else}
      DetailPrint "Kept, changed since it was installed: ${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

; Undoes Associate, but only while EXT still opens with this installation; a class of another
; installation of the IDE is left to that one. When the other release was installed after
; this one, it keeps this one's class as the default to restore; it is given the default this
; one kept instead, so removing both in either order restores what was there first.
!macro Unassociate EXT PROGID
  ReadRegStr $0 HKCU "${CLASSES}\${PROGID}\shell\open\command" ""
  ${If} $0 == '${OPEN_COMMAND}'
    ReadRegStr $0 HKCU "${CLASSES}\${EXT}" ""
    ReadRegStr $1 HKCU "${CLASSES}\${EXT}" "${APP_ID}.previous"
    ${If} $0 == "${PROGID}"
      ${If} $1 != ""
        WriteRegStr HKCU "${CLASSES}\${EXT}" "" $1
      ${Else}
        DeleteRegValue HKCU "${CLASSES}\${EXT}" ""
      ${EndIf}
    ${EndIf}
    ReadRegStr $2 HKCU "${CLASSES}\${EXT}" "${OTHER_APP_ID}.previous"
    ${If} $2 == "${PROGID}"
      ${If} $1 != ""
        WriteRegStr HKCU "${CLASSES}\${EXT}" "${OTHER_APP_ID}.previous" $1
      ${Else}
        DeleteRegValue HKCU "${CLASSES}\${EXT}" "${OTHER_APP_ID}.previous"
      ${EndIf}
    ${EndIf}
    DeleteRegValue HKCU "${CLASSES}\${EXT}" "${APP_ID}.previous"
    DeleteRegValue HKCU "${CLASSES}\${EXT}\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty HKCU "${CLASSES}\${EXT}\OpenWithProgids"
    DeleteRegKey /ifempty HKCU "${CLASSES}\${EXT}"
    DeleteRegKey HKCU "${CLASSES}\${PROGID}"
  ${EndIf}
!macroend

Section "Uninstall"
  !include "${GENERATED}/uninstall_files.nsh"
  Delete "$INSTDIR\Uninstall.exe"

  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    Delete "${SHORTCUT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
  !insertmacro Unassociate ".zobas" "${APP_ID}.zobas"
  !insertmacro Unassociate ".zoproj" "${APP_ID}.zoproj"
  System::Call 'shell32::SHChangeNotify(i ${SHCNE_ASSOCCHANGED}, i 0, p 0, p 0)'

  RMDir "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR\*.*"
    DetailPrint "Your own files were left in $INSTDIR."
    MessageBox MB_OK|MB_ICONINFORMATION "${PRODUCT} has been removed.$\r$\n$\r$\nYour own files were left in $INSTDIR: sources, projects, the settings file zorvexIde.cfg, the scratch files and any installed file that you changed." /SD IDOK
  ${EndIf}
SectionEnd
