; The Windows installer: the program folder under Program Files, a Start-menu entry, and an
; uninstaller listed in Programs and Features. scripts/package-windows.sh builds it:
;   makensis -DVERSION=1.41 -DPROGRAM_DIR=<build>\bin -DFILES=<files.nsh> -DOUT_FILE=<setup.exe>
; FILES names the program folder's files, each once, in two macros: InstallFiles (File lines)
; and RemoveFiles (Delete lines), so the uninstaller removes exactly what was installed.
Unicode true
; The 64-bit stub: the 32-bit one does not start where only 64-bit Windows programs run.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "${FILES}"

!define PRODUCT "Tarnwick"
!define PUBLISHER "Brindle"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Brindle\Tarnwick"
!define SHORTCUT "$SMPROGRAMS\Tarnwick.lnk"
; The guard service's report folders, which the installed program uses while its settings name
; none: machine data, under the program data folder ($APPDATA in the shell context "all").
!define DATA_DIR "$APPDATA\Brindle\Tarnwick"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\Brindle\Tarnwick"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Removes the report folders in base that hold nothing: never a report.
!macro RemoveReportFolders base
    RMDir "${base}\reports\sended reports"
    RMDir "${base}\reports"
    RMDir "${base}\quarantine\sended reports"
    RMDir "${base}\quarantine"
!macroend

Section "Tarnwick"
    SetShellVarContext all
    !insertmacro InstallFiles
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; A shortcut starts in the last output folder: the program's own, where it finds its
    ; languages folder.
    SetOutPath "$INSTDIR"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\tarnwick.exe"
    CreateDirectory "${DATA_DIR}\reports\sended reports"
    CreateDirectory "${DATA_DIR}\quarantine\sended reports"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarnwick.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "${SHORTCUT}"
    !insertmacro RemoveFiles
    Delete "$INSTDIR\uninstall.exe"
    ; Folders go only when empty: nothing the user put there is lost.
    RMDir "$INSTDIR\languages"
    ; The report folders that earlier versions made beside the program; reports in them stay,
    ; and the program folder with them.
    !insertmacro RemoveReportFolders "$INSTDIR"
    RMDir "$INSTDIR"
    RMDir "$INSTDIR\.."
    ; Today's, likewise; the Brindle folder also holds the mail settings.
    !insertmacro RemoveReportFolders "${DATA_DIR}"
    RMDir "${DATA_DIR}"
    RMDir "${DATA_DIR}\.."
    ; "Start with Windows" writes this value; it must not start a program that is gone.
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; The settings stay for a later install unless the user asks (never in a silent uninstall).
    MessageBox MB_YESNO|MB_ICONQUESTION "Remove Tarnwick's settings as well?" /SD IDNO IDNO keep
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKLM "Software\Brindle"
keep:
SectionEnd
