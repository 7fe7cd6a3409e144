; Glimra's setup program, built by makensis from the Windows tree:
;   makensis -DVERSION=2.0.1 -DBINDIR=<tree>/bin -DOUTFILE=<setup.exe> [-DTARGET=amd64-unicode] Glimra.nsi
; TARGET is the setup program's own architecture, that of the programs it
; installs: x86-unicode (the default, what ships) or amd64-unicode (the
; 64-bit test build).
;
; Run by a user it installs Glimra into a chosen folder (silently with /S and
; /D=<folder>). Put into an update package as setupeasy.exe, it is also the
; update installer: the update checker starts it, hidden and waited for, with
;   "<unpack folder>\setupeasy.exe" <checker pid> "<unpack folder>\" "<host folder>\" "<host program>"
; and it then installs silently into the host folder and ends with 0.

!ifndef VERSION | BINDIR | OUTFILE
  !error "give -DVERSION=, -DBINDIR= and -DOUTFILE="
!endif

!ifndef TARGET
  !define TARGET x86-unicode
!endif
Target ${TARGET}
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "Glimra"
!define PUBLISHER "VANTO"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Glimra"
; Where the running checker's program is set aside during an update.
!define CHECKER_ASIDE "Mervik.old"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!if ${TARGET} == amd64-unicode
  InstallDir "$PROGRAMFILES64\${PUBLISHER}\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PUBLISHER}\${PRODUCT}"
!endif
BrandingText "${PUBLISHER}"
ShowInstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

LangString InUse ${LANG_JAPANESE} "Glimra が $INSTDIR から実行されています。$\r$\n$\r$\nGlimra を終了してから「再試行」を押してください。「キャンセル」でセットアップを中止します。"

Var UpdateHost  ; the host folder of an update run, without its final backslash; "" otherwise
Var CheckerPid

; Takes the next token off $R9 into $R8. Tokens are separated by blanks; a
; double quote runs to the next double quote, with no escapes, so that a
; folder ending with a backslash right before its closing quote stays whole
; (the C runtime's argv rules would take \" for a quote).
Function NextToken
  StrCpy $R8 ""
  StrCpy $R7 0  ; inside quotes
  ${Do}
    StrCpy $R6 $R9 1
    ${If} $R6 == " "
    ${OrIf} $R6 == "$\t"
      StrCpy $R9 $R9 "" 1
    ${Else}
      ${Break}
    ${EndIf}
  ${Loop}
  ${Do}
    StrCpy $R6 $R9 1
    ${If} $R6 == ""
      ${Break}
    ${ElseIf} $R6 == '"'
      IntOp $R7 1 - $R7
    ${ElseIf} $R7 == 0
    ${AndIf} $R6 == " "
      ${Break}
    ${ElseIf} $R7 == 0
    ${AndIf} $R6 == "$\t"
      ${Break}
    ${Else}
      StrCpy $R8 "$R8$R6"
    ${EndIf}
    StrCpy $R9 $R9 "" 1
  ${Loop}
FunctionEnd

; Recognises the update checker's command line: a process id, two folders
; that end with a backslash, a program path, nothing more.
Function ReadUpdateCommandLine
  StrCpy $UpdateHost ""
  StrCpy $R9 $CMDLINE
  Call NextToken  ; this program
  Call NextToken
  StrCpy $0 $R8
  IntOp $1 $0 + 0
  ${If} $0 == ""
  ${OrIf} "$1" != "$0"
    Return
  ${EndIf}
  Call NextToken
  StrCpy $2 $R8 "" -1
  Call NextToken
  StrCpy $3 $R8
  StrCpy $4 $R8 "" -1
  Call NextToken
  StrCpy $5 $R8
  Call NextToken
  ${If} $2 == "\"
  ${AndIf} $4 == "\"
  ${AndIf} $5 != ""
  ${AndIf} $R8 == ""
    StrCpy $CheckerPid $0
    StrCpy $UpdateHost $3 -1
  ${EndIf}
FunctionEnd

Function .onInit
  Call ReadUpdateCommandLine
  ${If} $UpdateHost != ""
    SetSilent silent
    StrCpy $INSTDIR $UpdateHost
  ${EndIf}
FunctionEnd

; Glimra.exe cannot be opened for writing while a Glimra runs from this
; folder. A user is asked to close it and retry; a silent install fails with
; exit code 2. An update run waits a little (the viewer has just ended)
; before it gives up with exit code 1, changing nothing.
!macro WaitUntilGlimraEnded
  StrCpy $9 0
  ${DoWhile} ${FileExists} "$INSTDIR\Glimra.exe"
    ClearErrors
    FileOpen $8 "$INSTDIR\Glimra.exe" a
    ${IfNot} ${Errors}
      FileClose $8
      ${Break}
    ${EndIf}
    ${If} $UpdateHost != ""
      IntOp $9 $9 + 1
      ${If} $9 > 30
        SetErrorLevel 1
        Quit
      ${EndIf}
      Sleep 500
    ${Else}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY in_use_retry
      SetErrorLevel 2
      Quit
      in_use_retry:
    ${EndIf}
  ${Loop}
!macroend

Section "Glimra"
  !insertmacro WaitUntilGlimraEnded
  SetOutPath "$INSTDIR"
  ${If} $UpdateHost != ""
    ; The checker that started us runs from this folder and waits for us:
    ; its program is moved aside (a running program may be renamed, not
    ; overwritten), and the new checker removes it once the old one has ended.
    RMDir /r "$INSTDIR\${CHECKER_ASIDE}"
    CreateDirectory "$INSTDIR\${CHECKER_ASIDE}"
    Rename "$INSTDIR\Mervik.exe" "$INSTDIR\${CHECKER_ASIDE}\Mervik.exe"
  ${EndIf}
  File "${BINDIR}/Glimra.exe"
  File "${BINDIR}/Lanvik.dll"
  File "${BINDIR}/Mervik.exe"
  File "${BINDIR}/Pellmark.exe"
  File "${BINDIR}/Glimra.chm"
  SetOutPath "$INSTDIR\help"
  File "${BINDIR}/help/*.*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Glimra.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Glimra.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ${If} $UpdateHost != ""
  ${AndIf} ${FileExists} "$INSTDIR\${CHECKER_ASIDE}\Mervik.exe"
    ; A console program: started hidden, or its console would flash.
    ExecShell "" "$INSTDIR\Mervik.exe" '-waitprocess $CheckerPid -remove "$INSTDIR\${CHECKER_ASIDE}"' SW_HIDE
  ${EndIf}
SectionEnd

Section "Uninstall"
  !insertmacro WaitUntilGlimraEnded
  Delete "$INSTDIR\Glimra.exe"
  Delete "$INSTDIR\Lanvik.dll"
  Delete "$INSTDIR\Mervik.exe"
  Delete "$INSTDIR\Pellmark.exe"
  Delete "$INSTDIR\Glimra.chm"
  RMDir /r "$INSTDIR\help"
  RMDir /r "$INSTDIR\${CHECKER_ASIDE}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
