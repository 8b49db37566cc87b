; Tavrel's installer for one Windows build. The build runs makensis with:
;   ARCH       win32 or win64: the build the package holds
;   VERSION    the project version, e.g. 1.0.0
;   PUBLISHER  shown in the list of installed programs
;   FILES      the generated list of the package's files (files.nsh)
;   OUTFILE    the setup program to write
;   SIGN       optional: a command that signs the file named after it, run
;              on the uninstaller before it is packed, then on the installer
;
; It installs into <host folder>\Plugins\Tavrel and nowhere else, with the
; uninstaller beside the files. The uninstaller removes the files of the
; package by name from its own folder, so it never touches a file it did not
; install, wherever it lies. Both refuse before changing anything when a file
; they would replace or remove is in use (the host is running).
; Silent runs: Setup.exe /S [/CurrentUser] /D=C:\Host, Uninstall.exe /S.
; Exit code 2 means refused.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include StrFunc.nsh
${StrStr}

!if "${ARCH}" == "win64"
  !define BITS "64-bit"
  !define OTHER_ARCH "win32"
!else if "${ARCH}" == "win32"
  !define BITS "32-bit"
  !define OTHER_ARCH "win64"
!else
  !error "ARCH must be win32 or win64"
!endif

!define PRODUCT "Tavrel"
!define PLUGIN_DIR "Plugins\Tavrel"
!define UNINSTALLER "Uninstall.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrel-${ARCH}"
!define REFUSED 2

!include "${FILES}"

!ifdef SIGN
  !uninstfinalize '${SIGN} "%1"'
  !finalize '${SIGN} "%1"'
!endif

Name "${PRODUCT} ${VERSION} (${BITS})"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT} (${BITS})"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup for ${BITS} hosts"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

DirText "Choose the program folder of the host application (the folder it is installed in). \
${PRODUCT} puts its files into the folder ${PLUGIN_DIR} inside it and changes nothing else there. \
This is the ${BITS} package, for a ${BITS} host." "Host application folder"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var AllUsers       ; 1: registered for all users (HKLM), else for the current user
Var CreatedPlugins ; 1: the Plugins folder did not exist before Tavrel

; In a section: refuses (Abort, exit code 2) unless FILE is absent or can be
; opened for writing, which a module the host has loaded, or a program that
; runs, cannot.
!macro TAVREL_REFUSE_IF_IN_USE FILE
  ${If} ${FileExists} "${FILE}"
    ClearErrors
    FileOpen $0 "${FILE}" a
    ${If} ${Errors}
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
  ReadRegStr $0 ${ROOT} "${UNINST_KEY}" "HostFolder"
  ReadRegDWORD $1 ${ROOT} "${UNINST_KEY}" "CreatedPluginsFolder"
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

Function .onInit
  !if "${ARCH}" == "win64"
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "This is ${PRODUCT} for 64-bit hosts, and this Windows is 32-bit, \
so it cannot run a 64-bit host.$\r$\n$\r$\nUse the 32-bit package, ${PRODUCT}-${VERSION}-${OTHER_ARCH}-setup.exe. \
Nothing was changed." /SD IDOK
      SetErrorLevel ${REFUSED}
      Quit
    ${EndIf}
    SetRegView 64
  !endif
  !insertmacro TAVREL_CHOOSE_CONTEXT
  ; Windows quotes an argument with spaces, and NSIS takes /D= only unquoted
  ; and last; a /D= left in the parameters was not taken.
  ${GetParameters} $0
  ${StrStr} $1 $0 "/D="
  ${If} $1 != ""
    MessageBox MB_OK|MB_ICONSTOP "The folder after /D= was not taken: /D= must come last on the command line \
and without quotes, even when the folder holds spaces. Nothing was changed." /SD IDOK
    SetErrorLevel ${REFUSED}
    Quit
  ${EndIf}
  ; /D= sets the folder before this runs; otherwise offer the folder of the
  ; last installation, else the programs folder to browse from. A silent
  ; run never guesses: it needs /D= or an earlier installation.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR SHCTX "${UNINST_KEY}" "HostFolder"
  ${EndIf}
  ${If} $INSTDIR == ""
    ${If} ${Silent}
      MessageBox MB_OK|MB_ICONSTOP "Give the host application's program folder with /D=FOLDER, \
last and without quotes. Nothing was changed." /SD IDOK
      SetErrorLevel ${REFUSED}
      Quit
    ${EndIf}
    !if "${ARCH}" == "win64"
      StrCpy $INSTDIR "$PROGRAMFILES64"
    !else
      StrCpy $INSTDIR "$PROGRAMFILES"
    !endif
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
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR is no host application's folder: it does not exist, or it is \
the programs folder or a drive itself.$\r$\n$\r$\nGive the program folder of the installed host application. \
Nothing was changed." /SD IDOK
    Abort "$INSTDIR is no host application's folder."
  ${EndIf}
  !insertmacro TAVREL_FOR_EACH_FILE TAVREL_REFUSE_IF_IN_USE "$INSTDIR\${PLUGIN_DIR}"
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
  !insertmacro TAVREL_INSTALL_FILES
  WriteUninstaller "$INSTDIR\${PLUGIN_DIR}\${UNINSTALLER}"

  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayName" "${PRODUCT} (${BITS})"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${PLUGIN_DIR}\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${PLUGIN_DIR}\${UNINSTALLER}" /S'
  WriteRegStr SHCTX "${UNINST_KEY}" "InstallLocation" "$INSTDIR\${PLUGIN_DIR}"
  WriteRegStr SHCTX "${UNINST_KEY}" "HostFolder" "$INSTDIR"
  WriteRegDWORD SHCTX "${UNINST_KEY}" "CreatedPluginsFolder" $CreatedPlugins
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR\${PLUGIN_DIR}" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINST_KEY}" "EstimatedSize" $0
  ; An earlier per-user installation into the same folder, now registered
  ; for all users, must not stay listed twice.
  ${If} $AllUsers == 1
    ReadRegStr $0 HKCU "${UNINST_KEY}" "UninstallString"
    ${If} $0 == '"$INSTDIR\${PLUGIN_DIR}\${UNINSTALLER}"'
      DeleteRegKey HKCU "${UNINST_KEY}"
    ${EndIf}
  ${EndIf}
SectionEnd

; The uninstaller's $INSTDIR is its own folder, <host folder>\Plugins\Tavrel.
; It unregisters only the entry that names this very uninstaller.
Var Registered ; 1: the entry in SHCTX names this uninstaller

Function un.onInit
  !if "${ARCH}" == "win64"
    SetRegView 64
  !endif
  StrCpy $Registered 0
  SetShellVarContext all
  Call un.FindEntry
  ${If} $Registered == 0
    SetShellVarContext current
    Call un.FindEntry
  ${EndIf}
FunctionEnd

Function un.FindEntry
  ReadRegStr $0 SHCTX "${UNINST_KEY}" "UninstallString"
  ${If} $0 == '"$INSTDIR\${UNINSTALLER}"'
    StrCpy $Registered 1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro TAVREL_FOR_EACH_FILE TAVREL_REFUSE_IF_IN_USE "$INSTDIR"
  StrCpy $CreatedPlugins 0
  ${If} $Registered == 1
    ReadRegDWORD $CreatedPlugins SHCTX "${UNINST_KEY}" "CreatedPluginsFolder"
    DeleteRegKey SHCTX "${UNINST_KEY}"
  ${EndIf}
  !insertmacro TAVREL_FOR_EACH_FILE TAVREL_DELETE "$INSTDIR"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Folders go only when empty: a settings file or anything else of the
  ; user's or the host's keeps them.
  RMDir "$INSTDIR"
  ${If} $CreatedPlugins == 1
    RMDir "$INSTDIR\.."
  ${EndIf}
SectionEnd
