; Tavrel's installer for both Windows builds, Tavrel-<version>-setup.exe. It
; holds the packages of both and installs the one whose bitness matches the
; host program in the chosen folder, read from the PE headers of the .exe
; files directly in it. When the folder holds no program, or programs of
; both bitnesses, it asks; run silently it refuses (exit code 2, nothing
; changed) unless /ARCH=win32 or /ARCH=win64 says which, which always wins.
; Everything else is as the installer of one build (TavrelCommon.nsh).
; combined.cmake runs makensis with:
;   VERSION      the project version, the same in both builds
;   PUBLISHER    shown in the list of installed programs
;   FILES_WIN32  the generated list of the win32 package (macros _win32)
;   FILES_WIN64  the generated list of the win64 package (macros _win64)
;   OUTFILE      the setup program to write
;   SIGN         optional, as for Tavrel.nsi
; Silent runs: Tavrel-<version>-setup.exe /S [/ARCH=win64] [/CurrentUser] /D=C:\Host

!include "${FILES_WIN32}"
!include "${FILES_WIN64}"

!macro TAVREL_PACKAGE_INSTALL
  ${If} $Arch == "win64"
    !insertmacro TAVREL_INSTALL_FILES_win64
  ${Else}
    !insertmacro TAVREL_INSTALL_FILES_win32
  ${EndIf}
!macroend
; Both packages hold files of the same names; taking both lists covers a
; file only one of them has.
!macro TAVREL_PACKAGE_FOR_EACH MACRO DIR
  !insertmacro TAVREL_FOR_EACH_FILE_win32 ${MACRO} "${DIR}"
  !insertmacro TAVREL_FOR_EACH_FILE_win64 ${MACRO} "${DIR}"
!macroend
!macro TAVREL_FIND_ENTRIES
  !insertmacro TAVREL_FIND_ENTRY win64
  !insertmacro TAVREL_FIND_ENTRY win32
!macroend

!define TAVREL_USAGE_OPTIONS " [/ARCH=win32|win64]"
!define TAVREL_USAGE_TEXT "/ARCH=ARCH    the build to install, whatever the folder holds$\r$\n  "
!include "${__FILEDIR__}\TavrelCommon.nsh"

Name "${PRODUCT} ${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup for 32-bit and 64-bit hosts"

DirText "Choose the program folder of the host application (the folder it is installed in). \
${PRODUCT} puts its files into the folder ${PLUGIN_DIR} inside it and changes nothing else there. \
It installs the module for the host program's bitness, 32-bit or 64-bit." "Host application folder"

; Tavrel's licence and those of the libraries built in, as Notices.txt holds them.
LicenseData "${TAVREL_NOTICES_win32}"
Page license
Page directory "" "" TavrelDirectoryLeave
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!define PE_MAGIC_32 267 ; 0x10b, the optional header of a PE32 image
!define PE_MAGIC_64 523 ; 0x20b, PE32+

; Reads N (2 or 4) little-endian bytes from the file handle $R2 into $R3;
; $R3 is "" when the file ends first.
!macro TAVREL_READ_LE N
  StrCpy $R3 0
  StrCpy $R4 0 ; the byte's shift
  ${DoWhile} $R4 < ${N}
    ClearErrors
    FileReadByte $R2 $R5
    ${If} ${Errors}
      StrCpy $R3 ""
      ${Break}
    ${EndIf}
    IntOp $R6 $R4 * 8
    IntOp $R5 $R5 << $R6
    IntOp $R3 $R3 | $R5
    IntOp $R4 $R4 + 1
  ${Loop}
!macroend

; The bitness of the program file $R0 from its PE header: $R1 is win32 for
; a PE32 image, win64 for PE32+, and "" for anything else.
Function TavrelProgramArch
  StrCpy $R1 ""
  ClearErrors
  FileOpen $R2 $R0 r
  ${If} ${Errors}
    Return
  ${EndIf}
  !insertmacro TAVREL_READ_LE 2
  ${If} $R3 == 23117 ; "MZ"
    FileSeek $R2 60 SET ; e_lfanew
    !insertmacro TAVREL_READ_LE 4
    ${If} $R3 != ""
    ${AndIf} $R3 > 0
      StrCpy $R7 $R3
      FileSeek $R2 $R7 SET
      !insertmacro TAVREL_READ_LE 4
      ${If} $R3 == 17744 ; "PE\0\0"
        IntOp $R7 $R7 + 24 ; past the signature and the file header
        FileSeek $R2 $R7 SET
        !insertmacro TAVREL_READ_LE 2
        ${If} $R3 == ${PE_MAGIC_32}
          StrCpy $R1 win32
        ${ElseIf} $R3 == ${PE_MAGIC_64}
          StrCpy $R1 win64
        ${EndIf}
      ${EndIf}
    ${EndIf}
  ${EndIf}
  FileClose $R2
FunctionEnd

; Which bitnesses the .exe files directly in $INSTDIR have: $R8 (32-bit)
; and $R9 (64-bit) are 1 or 0.
Function TavrelHostBitness
  StrCpy $R8 0
  StrCpy $R9 0
  ClearErrors
  FindFirst $0 $1 "$INSTDIR\*.exe"
  ${DoWhile} $1 != ""
    ${IfNot} ${FileExists} "$INSTDIR\$1\*.*"
      StrCpy $R0 "$INSTDIR\$1"
      Call TavrelProgramArch
      ${If} $R1 == win32
        StrCpy $R8 1
      ${ElseIf} $R1 == win64
        StrCpy $R9 1
      ${EndIf}
    ${EndIf}
    FindNext $0 $1
  ${Loop}
  FindClose $0
FunctionEnd

; Decides the build to install into $INSTDIR and calls TavrelUseArch: the
; one /ARCH= names, else the bitness of the host's programs, else the
; user's answer. Sets $0 to "" when the user cancelled the question; run
; silently, it refuses instead.
Function TavrelChooseArch
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/ARCH=" $2
  ${IfNot} ${Errors}
    ${If} $2 == "win32"
    ${OrIf} $2 == "win64"
      StrCpy $0 $2
      Call TavrelUseArch
      Return
    ${EndIf}
    !insertmacro TAVREL_REFUSE "/ARCH= must be win32 or win64, not '$2'. Nothing was changed."
  ${EndIf}
  Call TavrelHostBitness
  ${If} $R8 == 1
  ${AndIf} $R9 == 0
    StrCpy $0 win32
  ${ElseIf} $R8 == 0
  ${AndIf} $R9 == 1
    StrCpy $0 win64
  ${Else}
    ${If} $R8 == 1
      StrCpy $3 "$INSTDIR holds both 32-bit and 64-bit programs"
    ${Else}
      StrCpy $3 "$INSTDIR holds no program"
    ${EndIf}
    ${If} ${Silent}
      !insertmacro TAVREL_REFUSE "$3, so the bitness of the host application is not known. \
Give it with /ARCH=win32 or /ARCH=win64. Nothing was changed."
    ${EndIf}
    MessageBox MB_YESNOCANCEL|MB_ICONQUESTION "$3, so the bitness of the host application is not known.\
$\r$\n$\r$\nIs the host application a 64-bit program? Yes installs ${PRODUCT} for 64-bit hosts, \
No for 32-bit hosts." IDYES bits64 IDNO bits32
    StrCpy $0 ""
    Return
    bits64:
      StrCpy $0 win64
      Goto chosen
    bits32:
      StrCpy $0 win32
  ${EndIf}
  chosen:
  Call TavrelUseArch
FunctionEnd

Function TavrelDirectoryLeave
  Call TavrelChooseArch
  ${If} $0 == ""
    Abort
  ${EndIf}
FunctionEnd

Function .onInit
  Call TavrelHelp
  !insertmacro TAVREL_CHOOSE_CONTEXT
  Call TavrelQuotedFolder
  ; /D= sets the folder before this runs; otherwise offer the folder of the
  ; last installation of either build.
  ${If} $INSTDIR == ""
  ${AndIf} ${RunningX64}
    SetRegView 64
    ReadRegStr $INSTDIR SHCTX "${UNINST_KEY_BASE}win64" "HostFolder"
  ${EndIf}
  ${If} $INSTDIR == ""
    SetRegView 32
    ReadRegStr $INSTDIR SHCTX "${UNINST_KEY_BASE}win32" "HostFolder"
  ${EndIf}
  Call TavrelNeedFolder
  ; Without pages the build is chosen now.
  ${If} ${Silent}
    Call TavrelChooseArch
  ${EndIf}
FunctionEnd
