; Vaultwing's Windows installer: Vaultwing-<version>-setup.exe, from the deploy folder of the
; mingw-gui build (cmake --build --preset mingw-gui --target installer).
;
; Shows the licence (LICENSE, GPL-3.0-or-later) first, then installs into Program Files with a
; Start-menu shortcut and an entry in "Apps & features"; the .vwx association and the Send To
; entry are optional and made by vaultwing.exe itself, with the code behind the two boxes of VWX's
; settings window. The uninstaller removes exactly the files the installer wrote (the list is made
; from the deploy folder at build time), the shortcut, the association, the Send To entry and its
; registry entries, and asks before it removes the user's settings and favourites. A silent
; uninstall (/S) keeps them, unless /REMOVESETTINGS is given.
;
; Defines from the build: VERSION, DEPLOY_DIR (the deploy folder), OUTFILE, FILES_NSH and
; UNFILES_NSH (the install and uninstall lines for every file of the deploy folder).

Target amd64-unicode ; a 64-bit installer for a 64-bit program (and for Wine without 32-bit support)
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Vaultwing"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vaultwing"
!define PRODUCT_KEY "Software\Vaultwing"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${PRODUCT_KEY}" "InstallDir"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "LegalCopyright" "2026 The Vaultwing developers"

!define MUI_ICON "${DEPLOY_DIR}\VWX_icon.ico"
!define MUI_UNICON "${DEPLOY_DIR}\VWX_icon.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\VWX.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Vaultwing"

; Vaultwing is free software: the licence page shows the GPL the program is published under.
!define MUI_LICENSEPAGE_TEXT_TOP "GNU General Public License, version 3 or any later version"
!insertmacro MUI_PAGE_LICENSE "${__FILEDIR__}/../../LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

Function .onInit
    SetRegView 64
    SetShellVarContext all ; the Start-menu shortcut is for every user
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Vaultwing" SectionProgram
    SectionIn RO
    !include "${FILES_NSH}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\VWX.exe" "" "$INSTDIR\VWX.exe" 0

    WriteRegStr HKLM "${PRODUCT_KEY}" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Vaultwing developers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.vaultwing.net/"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\VWX.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SectionProgram} $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Runs vaultwing.exe with the settings window's desktop options. Run elevated, the program finds
; its own folder writable and would keep a VWX.ini there that the user's copy never reads (it uses
; %APPDATA%\Vaultwing) and nobody removes: a VWX.ini that only this call made is taken away again.
!macro DesktopOptions OPTIONS
    ${If} ${FileExists} "$INSTDIR\VWX.ini"
        StrCpy $1 "kept"
    ${Else}
        StrCpy $1 "made"
    ${EndIf}
    nsExec::ExecToLog '"$INSTDIR\vaultwing.exe" ${OPTIONS}'
    Pop $0
    ${If} $0 != 0
        DetailPrint "vaultwing.exe ${OPTIONS} ended with $0"
    ${EndIf}
    ${If} $1 == "made"
        Delete "$INSTDIR\VWX.ini"
    ${EndIf}
!macroend

Section "Open .vwx files with Vaultwing" SectionAssociate
    !insertmacro DesktopOptions "--associate on"
SectionEnd

Section "Send To entry" SectionSendTo
    !insertmacro DesktopOptions "--send-to on"
SectionEnd

Section "Uninstall"
    ; The association and the Send To entry go the way they came: through the program.
    ${If} ${FileExists} "$INSTDIR\vaultwing.exe"
        !insertmacro DesktopOptions "--associate off --send-to off"
    ${EndIf}
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    !include "${UNFILES_NSH}"
    Delete "$INSTDIR\Uninstall.exe"

    ; The user's own files: settings, favourites and the update check's leftover, in the program
    ; folder (a folder the user could write) or in %APPDATA%\Vaultwing.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${If} ${Errors}
        MessageBox MB_YESNO|MB_ICONQUESTION "Also remove your Vaultwing settings and favourites?" /SD IDNO IDNO keep_settings
    ${EndIf}
        Delete "$INSTDIR\VWX.ini"
        Delete "$INSTDIR\VWX-Fav"
        Delete "$INSTDIR\version.ini"
        SetShellVarContext current
        RMDir /r "$APPDATA\Vaultwing"
    keep_settings:
    RMDir "$INSTDIR"

    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "${PRODUCT_KEY}"
SectionEnd
