; The suite's installer. makensis -DBIN=<build bin dir, absolute> -DOUTFILE=<exe> [-DSIMULATED] (the
; test build: the service and key host that serve simulated devices).
; Silent: /S. Uninstaller: "Uninstall.exe" [/S] [/REMOVESETTINGS] (settings files are kept otherwise).
!include LogicLib.nsh
!include WinVer.nsh
!include FileFunc.nsh

!ifndef BIN | OUTFILE
  !error "BIN and OUTFILE must be defined"
!endif
Unicode false  ; the installer runs on Windows 95/98/Me as well

!define PRODUCT "PzTablet"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\PzTablet"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_SERVICES_KEY "Software\Microsoft\Windows\CurrentVersion\RunServices"
!define SERVICE "PzSuperPowerTablet"
!ifdef SIMULATED
  !define KEY_LIBRARY "KtKey-sim.dll"
!else
  !define KEY_LIBRARY "KtKey.dll"
!endif

Name "${PRODUCT} tablet driver"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Stops what runs from our files, so that they can be replaced or removed.
!macro StopSuite
  ${If} ${FileExists} "$SYSDIR\PzKeyHost.exe"
    nsExec::Exec '"$SYSDIR\PzKeyHost.exe" /stop'
    Pop $0
  ${EndIf}
  ${If} ${IsNT}
  ${AndIf} ${FileExists} "$SYSDIR\KTPEN.exe"
    nsExec::Exec '"$SYSDIR\KTPEN.exe" -e'
    Pop $0
  ${EndIf}
  Sleep 1000
!macroend

; The default settings file: pressure level 100 (linear), bytes 2..11 zero (the area starts at 0, 0),
; area right 10206 and bottom 7422 (the whole tablet), all 16-bit little-endian.
!macro WriteDefaultSettingsFile path
  FileOpen $0 "${path}" w
  !insertmacro WriteWord $0 100
  !insertmacro WriteWord $0 0
  !insertmacro WriteWord $0 0
  !insertmacro WriteWord $0 0
  !insertmacro WriteWord $0 0
  !insertmacro WriteWord $0 0
  !insertmacro WriteWord $0 10206
  !insertmacro WriteWord $0 7422
  FileClose $0
!macroend
!macro WriteWord handle value
  IntOp $1 ${value} & 0xFF
  FileWriteByte ${handle} $1
  IntOp $1 ${value} >> 8
  FileWriteByte ${handle} $1
!macroend

Section "Install"
  SetOutPath "$INSTDIR"
  !insertmacro StopSuite
  ; Another maker's Wintab library goes back in place when we are removed.
  ${If} ${FileExists} "$SYSDIR\Wintab32.dll"
  ${AndIfNot} ${FileExists} "$INSTDIR\Wintab32.dll.previous"
    CopyFiles /SILENT "$SYSDIR\Wintab32.dll" "$INSTDIR\Wintab32.dll.previous"
  ${EndIf}

  SetOutPath "$SYSDIR"
  !ifdef SIMULATED
    File "/oname=KTPEN.exe" "${BIN}/ktpen-sim.exe"
    File "/oname=PzKeyHost.exe" "${BIN}/PzKeyHost-sim.exe"
  !else
    File "${BIN}/KTPEN.exe"
    File "${BIN}/PzKeyHost.exe"
  !endif
  File "${BIN}/${KEY_LIBRARY}"
  File "${BIN}/KTPEN.dll"
  File "${BIN}/Wintab32.dll"
  ; The spare copy the service puts back when something replaces the library.
  SetOutPath "$WINDIR\Temp"
  File "${BIN}/Wintab32.dll"

  ; The user's settings stay as they are. Without a settings file the service does not run: write the
  ; default one where there is none. The key file's
  ; defaults come from the key host, which writes them at its first start when the file is missing.
  ${IfNot} ${FileExists} "$SYSDIR\PzTablet.cfg"
    !insertmacro WriteDefaultSettingsFile "$SYSDIR\PzTablet.cfg"
  ${EndIf}

  ${If} ${IsNT}
    nsExec::Exec '"$SYSDIR\KTPEN.exe" -i'
    Pop $0
    nsExec::Exec '"$SYSDIR\KTPEN.exe" -s'
    Pop $0
  ${Else}
    ; No service manager: the service starts with the system and now, as a hidden process.
    WriteRegExpandStr HKLM "${RUN_SERVICES_KEY}" "${SERVICE}" "$SYSDIR\KTPEN.exe"
    Exec '"$SYSDIR\KTPEN.exe"'
  ${EndIf}
  WriteRegStr HKLM "${RUN_KEY}" "PzKeyHost" '"$SYSDIR\PzKeyHost.exe"'
  Exec '"$SYSDIR\PzKeyHost.exe"'

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} tablet driver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !insertmacro StopSuite
  ${If} ${IsNT}
    nsExec::Exec '"$SYSDIR\KTPEN.exe" -u'
    Pop $0
  ${Else}
    DeleteRegValue HKLM "${RUN_SERVICES_KEY}" "${SERVICE}"
  ${EndIf}
  DeleteRegValue HKLM "${RUN_KEY}" "PzKeyHost"

  Delete "$SYSDIR\KTPEN.exe"
  Delete "$SYSDIR\KTPEN.dll"
  Delete "$SYSDIR\PzKeyHost.exe"
  Delete "$SYSDIR\${KEY_LIBRARY}"
  Delete "$SYSDIR\Wintab32.dll"
  Delete "$WINDIR\Temp\Wintab32.dll"
  ${If} ${FileExists} "$INSTDIR\Wintab32.dll.previous"
    Rename "$INSTDIR\Wintab32.dll.previous" "$SYSDIR\Wintab32.dll"
  ${EndIf}

  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVESETTINGS" $R1
  ${IfNot} ${Errors}
    Delete "$SYSDIR\PzTablet.cfg"
    Delete "$SYSDIR\PzTablet.bin"
    Delete "$WINDIR\PzTablet.bin"
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
