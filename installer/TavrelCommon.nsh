; What Tavrel's setup programs share: Tavrel.nsi (one Windows build) and
; TavrelSetup.nsi (both builds, choosing by the host's bitness). The script
; that includes this defines before it:
;   VERSION, PUBLISHER, OUTFILE, SIGN (optional)   as makensis passes them
;   macro TAVREL_PACKAGE_INSTALL        installs the files of build $Arch
;   macro TAVREL_PACKAGE_FOR_EACH MACRO DIR
;                                       MACRO "DIR\<name>" for each file any
;                                       of its packages holds
;   macro TAVREL_FIND_ENTRIES           inserts TAVREL_FIND_ENTRY for each
;                                       build its uninstaller may belong to
; and after it its pages, its .onInit, which must call TavrelUseArch before
; the section runs, and its texts.
;
; It installs into <host folder>\Plugins\Tavrel and nowhere else, with the
; uninstaller beside the files. The uninstaller removes the files of the
; package by name from its own folder, so it never touches a file it did not
; install, wherever it lies. Both refuse before changing anything when a file
; they would replace or remove is in use (the host is running).
; Exit codes: 0 done, 1 cancelled by the user, 2 refused (nothing changed).
; Every refusal says why on standard error, where the program has one, and
; in LOG_FILE, so a silent run leaves its reason where a user finds it; /?
; shows the options and names the log.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include StrFunc.nsh
${StrStr}

!define PRODUCT "Tavrel"
!define PLUGIN_DIR "Plugins\Tavrel"
!define UNINSTALLER "Uninstall.exe"
!define UNINST_KEY_BASE "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrel-"
!define REFUSED 2
!define LOG_FILE "$TEMP\Tavrel-setup.log"

!ifdef SIGN
  !uninstfinalize '${SIGN} "%1"'
  !finalize '${SIGN} "%1"'
!endif

OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

Var Arch           ; win32 or win64: the build being installed
Var Bits           ; 32-bit or 64-bit
Var UninstKey      ; its entry in the list of installed programs
Var AllUsers       ; 1: registered for all users (HKLM), else for the current user
Var CreatedPlugins ; 1: the Plugins folder did not exist before Tavrel
Var ReportText     ; what TAVREL_REPORT writes

; Writes the line $ReportText to the standard handle N (-11 output, -12
; error) when the program has one: started from a console with its output
; redirected, or under Wine.
!macro TAVREL_WRITE_STD N
  Push $0
  System::Call 'kernel32::GetStdHandle(i ${N}) p .r0'
  ${If} $0 <> 0
  ${AndIf} $0 <> -1
    FileWrite $0 "$ReportText$\r$\n"
  ${EndIf}
  Pop $0
!macroend

; Says why the run refuses: on standard error and appended to LOG_FILE.
!macro TAVREL_REPORT TEXT
  StrCpy $ReportText "${PRODUCT} ${VERSION} setup: ${TEXT}"
  !insertmacro TAVREL_WRITE_STD -12
  Push $0
  ClearErrors
  FileOpen $0 "${LOG_FILE}" a
  ${IfNot} ${Errors}
    FileSeek $0 0 END
    FileWrite $0 "$ReportText$\r$\n"
    FileClose $0
  ${EndIf}
  Pop $0
!macroend

; Silent or not: a message and exit code 2, nothing changed.
!macro TAVREL_REFUSE TEXT
  !insertmacro TAVREL_REPORT "${TEXT}"
  MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
  SetErrorLevel ${REFUSED}
  Quit
!macroend

; In a section: refuses (Abort, exit code 2) unless FILE is absent or can be
; opened for writing, which a module the host has loaded, or a program that
; runs, cannot.
!macro TAVREL_REFUSE_IF_IN_USE FILE
  ${If} ${FileExists} "${FILE}"
    ClearErrors
    FileOpen $0 "${FILE}" a
    ${If} ${Errors}
      !insertmacro TAVREL_REPORT "${FILE} is in use, most likely because the host application is running, \
or it cannot be written. Close the host application and try again. Nothing was changed."
      MessageBox MB_OK|MB_ICONSTOP "${FILE} is in use, most likely because the host application is running, \
or it cannot be written.$\r$\n$\r$\nClose the host application and try again. Nothing was changed." /SD IDOK
      Abort "${FILE} is in use."
    ${EndIf}
    FileClose $0
  ${EndIf}
!macroend

; Sets $CreatedPlugins to 1 when the entry under ROOT is of an earlier
; installation into this folder that created its Plugins folder.
!macro TAVREL_EARLIER_CREATED ROOT
  ReadRegStr $0 ${ROOT} $UninstKey "HostFolder"
  ReadRegDWORD $1 ${ROOT} $UninstKey "CreatedPluginsFolder"
  ${If} $0 == $INSTDIR
  ${AndIf} $1 == 1
    StrCpy $CreatedPlugins 1
  ${EndIf}
!macroend

!macro TAVREL_DELETE FILE
  Delete "${FILE}"
!macroend

; The registration for all users when elevated (and not /CurrentUser),
; otherwise for the current user. SHCTX follows the shell context.
!macro TAVREL_CHOOSE_CONTEXT
  UserInfo::GetAccountType
  Pop $0
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/CurrentUser" $2
  ${If} $0 == "Admin"
  ${AndIf} ${Errors}
    SetShellVarContext all
    StrCpy $AllUsers 1
  ${Else}
    SetShellVarContext current
    StrCpy $AllUsers 0
  ${EndIf}
!macroend

; Installs the build named in $0 (win32 or win64) from now on: its entry, its
; registry view. A 64-bit build is refused on a 32-bit Windows, which cannot
; run a 64-bit host.
Function TavrelUseArch
  StrCpy $Arch $0
  StrCpy $UninstKey "${UNINST_KEY_BASE}$Arch"
  ${If} $Arch == "win64"
    StrCpy $Bits "64-bit"
    ${IfNot} ${RunningX64}
      !insertmacro TAVREL_REFUSE "This is ${PRODUCT} for 64-bit hosts, and this Windows is 32-bit, \
so it cannot run a 64-bit host.$\r$\n$\r$\nUse the package for 32-bit hosts. Nothing was changed."
    ${EndIf}
    SetRegView 64
  ${Else}
    StrCpy $Bits "32-bit"
    SetRegView 32
  ${EndIf}
FunctionEnd

; For .onInit: /? shows the options (on standard output too) and ends.
Function TavrelHelp
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/?" $1
  ${If} ${Errors}
    Return
  ${EndIf}
  ; A continuation line loses its leading blanks: each line's indent ends the line before.
  StrCpy $ReportText "Usage: $EXEFILE [/S] [/CurrentUser]${TAVREL_USAGE_OPTIONS} [/D=FOLDER]$\r$\n  \
/S            silent: no questions; a refusal ends the run$\r$\n  \
/CurrentUser  register for the current user even when run as administrator$\r$\n  \
${TAVREL_USAGE_TEXT}\
/D=FOLDER     the host application's program folder, last; quote it whole$\r$\n                \
when it holds spaces: $\"/D=C:\Program Files\Host$\"$\r$\n\
Exit codes: 0 installed, 1 cancelled, 2 refused (nothing changed).$\r$\n\
Why a run refused is written to standard error and added to$\r$\n\
${LOG_FILE}."
  !insertmacro TAVREL_WRITE_STD -11
  MessageBox MB_OK|MB_ICONINFORMATION "$ReportText" /SD IDOK
  SetErrorLevel 0
  Quit
FunctionEnd

; For .onInit: NSIS takes /D= only bare and last, and Windows, Wine and
; PowerShell quote an argument that holds a space; "/D=C:\Program Files\Host"
; is taken here, and so is /D="C:\Program Files\Host".
Function TavrelQuotedFolder
  ${GetParameters} $0
  ${StrStr} $1 $0 '"/D='
  ${If} $1 != ""
    StrCpy $1 $1 "" 4
    StrCpy $2 0
    ${Do}
      StrCpy $3 $1 1 $2
      ${If} $3 == '"'
      ${OrIf} $3 == ""
        ${ExitDo}
      ${EndIf}
      IntOp $2 $2 + 1
    ${Loop}
    StrCpy $INSTDIR $1 $2
  ${EndIf}
  StrCpy $3 $INSTDIR 1
  ${If} $3 == '"'
    StrCpy $INSTDIR $INSTDIR "" 1
    StrCpy $3 $INSTDIR 1 -1
    ${If} $3 == '"'
      StrCpy $INSTDIR $INSTDIR -1
    ${EndIf}
  ${EndIf}
FunctionEnd

; For .onInit, after the folder of an earlier installation was looked up: a
; silent run never guesses, it needs /D= or an earlier installation;
; otherwise the programs folder is offered to browse from.
Function TavrelNeedFolder
  ${If} $INSTDIR == ""
    ${If} ${Silent}
      !insertmacro TAVREL_REFUSE "Give the host application's program folder with /D=FOLDER, \
last, quoted whole when it holds spaces. Nothing was changed."
    ${EndIf}
    ${If} ${RunningX64}
    ${AndIf} $Arch != "win32"
      StrCpy $INSTDIR "$PROGRAMFILES64"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES"
    ${EndIf}
  ${EndIf}
FunctionEnd

; Whether $INSTDIR can be a host's folder: the host is installed already, so
; it exists, and a host has a folder of its own, not the programs folder or a
; drive itself. Sets $0 to 1 or 0.
Function CheckHostFolder
  StrCpy $0 0
  ${If} ${FileExists} "$INSTDIR\*.*"
  ${AndIf} $INSTDIR != "$PROGRAMFILES32"
  ${AndIf} $INSTDIR != "$PROGRAMFILES64"
  ${AndIf} $INSTDIR != "$PROGRAMFILES32\"
  ${AndIf} $INSTDIR != "$PROGRAMFILES64\"
    StrLen $1 $INSTDIR
    ${If} $1 > 3
      StrCpy $0 1
    ${EndIf}
  ${EndIf}
FunctionEnd

Function .onVerifyInstDir
  Call CheckHostFolder
  ${If} $0 != 1
    Abort
  ${EndIf}
FunctionEnd

Section "Tavrel"
  Call CheckHostFolder
  ${If} $0 != 1
    !insertmacro TAVREL_REPORT "$INSTDIR is no host application's folder: it does not exist, or it is \
the programs folder or a drive itself. Give the program folder of the installed host application. \
Nothing was changed."
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR is no host application's folder: it does not exist, or it is \
the programs folder or a drive itself.$\r$\n$\r$\nGive the program folder of the installed host application. \
Nothing was changed." /SD IDOK
    Abort "$INSTDIR is no host application's folder."
  ${EndIf}
  !insertmacro TAVREL_PACKAGE_FOR_EACH TAVREL_REFUSE_IF_IN_USE "$INSTDIR\${PLUGIN_DIR}"
  !insertmacro TAVREL_REFUSE_IF_IN_USE "$INSTDIR\${PLUGIN_DIR}\${UNINSTALLER}"

  ; Whether the Plugins folder is Tavrel's to remove again: it did not exist,
  ; or an earlier installation into this folder created it.
  StrCpy $CreatedPlugins 0
  ${IfNot} ${FileExists} "$INSTDIR\Plugins\*.*"
    StrCpy $CreatedPlugins 1
  ${Else}
    !insertmacro TAVREL_EARLIER_CREATED HKLM
    !insertmacro TAVREL_EARLIER_CREATED HKCU
  ${EndIf}

  SetOutPath "$INSTDIR\${PLUGIN_DIR}"
  SetOverwrite on
  !insertmacro TAVREL_PACKAGE_INSTALL
  WriteUninstaller "$INSTDIR\${PLUGIN_DIR}\${UNINSTALLER}"

  WriteRegStr SHCTX $UninstKey "DisplayName" "${PRODUCT} ($Bits)"
  WriteRegStr SHCTX $UninstKey "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX $UninstKey "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX $UninstKey "UninstallString" '"$INSTDIR\${PLUGIN_DIR}\${UNINSTALLER}"'
  WriteRegStr SHCTX $UninstKey "QuietUninstallString" '"$INSTDIR\${PLUGIN_DIR}\${UNINSTALLER}" /S'
  WriteRegStr SHCTX $UninstKey "InstallLocation" "$INSTDIR\${PLUGIN_DIR}"
  WriteRegStr SHCTX $UninstKey "HostFolder" "$INSTDIR"
  WriteRegDWORD SHCTX $UninstKey "CreatedPluginsFolder" $CreatedPlugins
  WriteRegDWORD SHCTX $UninstKey "NoModify" 1
  WriteRegDWORD SHCTX $UninstKey "NoRepair" 1
  ${GetSize} "$INSTDIR\${PLUGIN_DIR}" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX $UninstKey "EstimatedSize" $0
  ; An earlier per-user installation into the same folder, now registered
  ; for all users, must not stay listed twice.
  ${If} $AllUsers == 1
    ReadRegStr $0 HKCU $UninstKey "UninstallString"
    ${If} $0 == '"$INSTDIR\${PLUGIN_DIR}\${UNINSTALLER}"'
      DeleteRegKey HKCU $UninstKey
    ${EndIf}
  ${EndIf}
SectionEnd

; The uninstaller's $INSTDIR is its own folder, <host folder>\Plugins\Tavrel.
; It unregisters only the entry that names this very uninstaller.
Var Registered ; 1: the entry $UninstKey in SHCTX names this uninstaller

Function un.FindEntry
  ReadRegStr $0 SHCTX $UninstKey "UninstallString"
  ${If} $0 == '"$INSTDIR\${UNINSTALLER}"'
    StrCpy $Registered 1
  ${EndIf}
FunctionEnd

; In un.onInit: looks for this uninstaller's entry among those of build ARCH,
; for all users, then for the current user, unless it was found already.
!macro TAVREL_FIND_ENTRY ARCH
  ${If} $Registered == 0
    !if "${ARCH}" == "win64"
      ${If} ${RunningX64}
        SetRegView 64
      ${EndIf}
    !else
      SetRegView 32
    !endif
    StrCpy $UninstKey "${UNINST_KEY_BASE}${ARCH}"
    SetShellVarContext all
    Call un.FindEntry
    ${If} $Registered == 0
      SetShellVarContext current
      Call un.FindEntry
    ${EndIf}
  ${EndIf}
!macroend

Function un.onInit
  StrCpy $Registered 0
  !insertmacro TAVREL_FIND_ENTRIES
FunctionEnd

Section "Uninstall"
  !insertmacro TAVREL_PACKAGE_FOR_EACH TAVREL_REFUSE_IF_IN_USE "$INSTDIR"
  StrCpy $CreatedPlugins 0
  ${If} $Registered == 1
    ReadRegDWORD $CreatedPlugins SHCTX $UninstKey "CreatedPluginsFolder"
    DeleteRegKey SHCTX $UninstKey
  ${EndIf}
  !insertmacro TAVREL_PACKAGE_FOR_EACH TAVREL_DELETE "$INSTDIR"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Folders go only when empty: a settings file or anything else of the
  ; user's or the host's keeps them.
  RMDir "$INSTDIR"
  ${If} $CreatedPlugins == 1
    RMDir "$INSTDIR\.."
  ${EndIf}
SectionEnd
