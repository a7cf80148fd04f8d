; The suite's installer: Mendora, Parleclient and MendoraUpdater in one
; folder, with the registry entries through which they find each other. It
; holds both builds and installs the x86_64 one on 64-bit Windows, the i686
; one elsewhere. Made by tools/package.sh, which passes VERSION (from the
; file VERSION), STAGE (the folder of stripped programs and sounds, one
; subfolder per build) and OUTFILE.
;
; The installer is a 32-bit program and writes the registry in the 32-bit
; view: the suite's key and its App Paths entries live there, and the x86_64
; programs open them there too (common/suite_records.h).
;
; Silent use: MendoraSetup.exe /S [/D=C:\folder]; Uninstall.exe /S. A silent
; uninstall keeps the backups.

Unicode true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "LogicLib.nsh"
!include "x64.nsh"

!ifndef VERSION
  !error "VERSION is not defined: make the installer with tools/package.sh"
!endif

!define PRODUCT "Mendora"
!define MAKER "Brisklane Technologies"
!define SUITE_KEY "SOFTWARE\${MAKER}\Mendora"
!define APP_PATHS "SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths"
!define UNINSTALL_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Mendora"
!define START_MENU "$SMPROGRAMS\Mendora"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Mendora"
; The folder of an earlier install, so that an install over it lands there.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

BrandingText "${MAKER}"
VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${MAKER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${MAKER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A configuration value that an administrator may have changed is written
; only when it is not there yet.
!macro WriteRegStrUnlessSet key name value
  ReadRegStr $0 HKLM "${key}" "${name}"
  ${If} $0 == ""
    WriteRegStr HKLM "${key}" "${name}" "${value}"
  ${EndIf}
!macroend

; Without an earlier install or a folder named with /D, the x86_64 build goes
; into the 64-bit Program Files folder. An earlier install keeps its folder,
; wherever an earlier installer put it: its repair backups and chat settings
; are there.
Function .onInit
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} ${RunningX64}
  ${AndIf} $0 == ""
    ${If} $INSTDIR == ""
    ${OrIf} $INSTDIR == "$PROGRAMFILES\Mendora"
      StrCpy $INSTDIR "$PROGRAMFILES64\Mendora"
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Mendora"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  ; The updater's backups (the Backup key and backup\) are the files its
  ; updates replaced and their builds: its restore puts them back over the
  ; files installed now. This install replaces every one of those files, so
  ; the backups no longer describe what came before what is installed, and a
  ; restore would mix an older suite into this one. They go together, before
  ; any file is replaced: the key first, so that an install stopped halfway
  ; leaves copies that nothing offers, never an offer without its copies.
  DeleteRegKey HKLM "${SUITE_KEY}\Backup"
  RMDir /r "$INSTDIR\backup"
  ; The backups in bak\ and the chat client's settings\ are not the
  ; installer's: an install over an install leaves them as they are.
  ; The files of installer/files.txt, of the build that fits the machine.
  !include "${STAGE}\install-files.nsh"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The programs find their folder through these; Path ends with "\".
  WriteRegStr HKLM "${APP_PATHS}\Mendora.exe" "" "$INSTDIR\Mendora.exe"
  WriteRegStr HKLM "${APP_PATHS}\Mendora.exe" "Path" "$INSTDIR\"
  WriteRegStr HKLM "${APP_PATHS}\Vimstack.exe" "Path" "$INSTDIR\"

  ; What the chat login line reports of the installation.
  WriteRegStr HKLM "${SUITE_KEY}" "version" "${VERSION}"
  !insertmacro WriteRegStrUnlessSet "${SUITE_KEY}" "ori" "1000"
  !insertmacro WriteRegStrUnlessSet "${SUITE_KEY}" "dref" "md"
  ClearErrors
  ReadRegDWORD $0 HKLM "${SUITE_KEY}" "tdai"
  ${If} ${Errors}
    WriteRegDWORD HKLM "${SUITE_KEY}" "tdai" 0
  ${EndIf}
  ClearErrors
  ; The servers the programs talk to.
  !insertmacro WriteRegStrUnlessSet "${SUITE_KEY}" "supportServer" "support.brisklane.com"
  !insertmacro WriteRegStrUnlessSet "${SUITE_KEY}" "supportPage" "http://www.brisklane.com/support.html"
  !insertmacro WriteRegStrUnlessSet "${SUITE_KEY}" "updateServer" "http://update.brisklane.com/download.asp"

  ; The updater's list: the build of every file it may replace. The updater
  ; itself and its download library are in use while it installs, so they
  ; are not on the list. Written afresh: the builds that updates recorded
  ; name files this install replaced, and a name it does not list here
  ; would have the updater fetch a file the suite no longer has.
  DeleteRegKey HKLM "${SUITE_KEY}\Update"
  WriteRegStr HKLM "${SUITE_KEY}\Update" "Mendora.exe" "${VERSION}"
  WriteRegStr HKLM "${SUITE_KEY}\Update" "rptrnr.dll" "${VERSION}"
  WriteRegStr HKLM "${SUITE_KEY}\Update" "Parleclient.exe" "${VERSION}"

  CreateDirectory "${START_MENU}"
  CreateShortCut "${START_MENU}\Mendora.lnk" "$INSTDIR\Mendora.exe"
  CreateShortCut "${START_MENU}\Support Chat.lnk" "$INSTDIR\Parleclient.exe"
  CreateShortCut "${START_MENU}\Update Mendora.lnk" "$INSTDIR\MendoraUpdater.exe"
  CreateShortCut "${START_MENU}\Uninstall Mendora.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Mendora.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !include "${STAGE}\uninstall-files.nsh"
  ; What the programs made: the chat client's settings, the updater's
  ; downloads and the copies it kept of replaced builds.
  RMDir /r "$INSTDIR\settings"
  RMDir /r "$INSTDIR\updates"
  RMDir /r "$INSTDIR\backup"
  ${If} ${FileExists} "$INSTDIR\bak\*.*"
    MessageBox MB_YESNO|MB_ICONQUESTION \
      "Remove the backups of Mendora's repairs too? Without them no repair can be undone." \
      /SD IDNO IDNO keepBackups
    RMDir /r "$INSTDIR\bak"
  keepBackups:
  ${EndIf}
  ; kept-items.txt, what the user keeps out of every scan, stays for the
  ; next install, and with it the folder.
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "${START_MENU}\Mendora.lnk"
  Delete "${START_MENU}\Support Chat.lnk"
  Delete "${START_MENU}\Update Mendora.lnk"
  Delete "${START_MENU}\Uninstall Mendora.lnk"
  RMDir "${START_MENU}"

  DeleteRegKey HKLM "${APP_PATHS}\Mendora.exe"
  DeleteRegKey HKLM "${APP_PATHS}\Vimstack.exe"
  DeleteRegKey HKLM "${SUITE_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\${MAKER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
