; Tavrel's installer for one Windows build. The build runs makensis with:
;   ARCH       win32 or win64: the build the package holds
;   VERSION    the project version, e.g. 1.0.0
;   PUBLISHER  shown in the list of installed programs
;   FILES      the generated list of the package's files (files.nsh)
;   OUTFILE    the setup program to write
;   SIGN       optional: a command that signs the file named after it, run
;              on the uninstaller before it is packed, then on the installer
;
; What it does is in TavrelCommon.nsh, which it shares with the installer
; for both builds (TavrelSetup.nsi).
; Silent runs: Setup.exe /S [/CurrentUser] /D=C:\Host, Uninstall.exe /S.
; Exit code 2 means refused.

!if "${ARCH}" == "win64"
  !define BITS "64-bit"
!else if "${ARCH}" == "win32"
  !define BITS "32-bit"
!else
  !error "ARCH must be win32 or win64"
!endif

!include "${FILES}"

!macro TAVREL_PACKAGE_INSTALL
  !insertmacro TAVREL_INSTALL_FILES
!macroend
!macro TAVREL_PACKAGE_FOR_EACH MACRO DIR
  !insertmacro TAVREL_FOR_EACH_FILE ${MACRO} "${DIR}"
!macroend
!macro TAVREL_FIND_ENTRIES
  !insertmacro TAVREL_FIND_ENTRY ${ARCH}
!macroend

!define TAVREL_USAGE_OPTIONS ""
!define TAVREL_USAGE_TEXT ""
!include "${__FILEDIR__}\TavrelCommon.nsh"

Name "${PRODUCT} ${VERSION} (${BITS})"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT} (${BITS})"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup for ${BITS} hosts"

DirText "Choose the program folder of the host application (the folder it is installed in). \
${PRODUCT} puts its files into the folder ${PLUGIN_DIR} inside it and changes nothing else there. \
This is the ${BITS} package, for a ${BITS} host." "Host application folder"

; Tavrel's licence and those of the libraries built in, as Notices.txt holds them.
LicenseData "${TAVREL_NOTICES}"
Page license
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  Call TavrelHelp
  StrCpy $0 ${ARCH}
  Call TavrelUseArch
  !insertmacro TAVREL_CHOOSE_CONTEXT
  Call TavrelQuotedFolder
  ; /D= sets the folder before this runs; otherwise offer the folder of the
  ; last installation.
  ${If} $INSTDIR == ""
    ReadRegStr $INSTDIR SHCTX $UninstKey "HostFolder"
  ${EndIf}
  Call TavrelNeedFolder
FunctionEnd
