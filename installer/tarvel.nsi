; Installer of Tarvel Menus (NSIS 3): per user by default, for the whole machine with /AllUsers.
;
; Built by installer/CMakeLists.txt, which defines VERSION (a.b.c.d), STAGE (the folder holding
; tvlengin.exe, tvledit.exe and template.tvl), ICON (the installer's icon) and OUTFILE, and
; may define COMPRESSOR (default: solid LZMA).
;
; Switches: /S silent; /AllUsers installs for every user of the machine (Program Files, the
; machine's classes), /CurrentUser (the default) for this user only (%LOCALAPPDATA%\Programs,
; HKCU\Software\Classes), without administrator rights; /D=<folder> (last) the folder.
; The uninstaller takes /S, and /AllUsers or /CurrentUser; without either it knows by itself
; which kind of install its folder holds.

Unicode true
; 64-bit stubs: the programs are 64-bit, and the x86 stubs would need 32-bit Windows under Wine.
Target amd64-unicode

!ifndef VERSION | STAGE | ICON | OUTFILE
    !error "Define VERSION, STAGE, ICON and OUTFILE (installer/CMakeLists.txt does)."
!endif

!include LogicLib.nsh
!include FileFunc.nsh
!include MUI2.nsh

!define PRODUCT "Tarvel Menus"
!define PUBLISHER "Tarvel"
!define PROGID "Tarvel.Menu"
!define CLASSES "Software\Classes"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvel"
!define STARTMENU_LINK "$SMPROGRAMS\Tarvel Edit.lnk"
; SHCNE_ASSOCCHANGED (0x08000000): Explorer then reloads the file types and their icons.
!define NotifyAssociationsChanged \
    "System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; No administrator rights for the default, per-user install; /AllUsers asks for them itself.
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS all
!ifdef COMPRESSOR
    SetCompressor ${COMPRESSOR}  ; a quicker build, for the tests' older version
!else
    SetCompressor /SOLID lzma
!endif
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

Var MachineWide  ; 1 for an install for every user, empty for this user only
Var Parameters   ; the command line after the program's name

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) ${PUBLISHER}"

; Runs this program again, elevated, with the same switches, and waits for it; then ends with
; the outcome the elevated copy left in the machine's uninstall entry. /Elevated marks the copy,
; so a copy that still has no administrator rights gives up instead of asking again.
!macro RunElevated UN
    ClearErrors
    ${${UN}GetOptions} $Parameters "/Elevated" $0
    ${IfNot} ${Errors}
        IfSilent +2
        MessageBox MB_ICONSTOP|MB_OK \
            "Installing or removing ${PRODUCT} for all users needs administrator rights."
        SetErrorLevel 5  ; ERROR_ACCESS_DENIED
        Quit
    ${EndIf}
    ClearErrors
    !if "${UN}" == ""
        ExecShellWait "runas" "$EXEPATH" "/Elevated $Parameters"
    !else
        ; The uninstaller runs from a copy in %TEMP%, told its folder by _?=, which the stub takes
        ; off the command line: the copy is told again (last, unquoted).
        ExecShellWait "runas" "$EXEPATH" "/Elevated $Parameters _?=$INSTDIR"
    !endif
    ${If} ${Errors}
        SetErrorLevel 1223  ; ERROR_CANCELLED: no elevation
        Quit
    ${EndIf}
    ; Quit from here would say "aborted" (2) unless the error level is set.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    !if "${UN}" == ""
        ${If} $0 == "${VERSION}"
    !else
        ${If} $0 == ""
    !endif
        SetErrorLevel 0
    ${Else}
        SetErrorLevel 2
    ${EndIf}
    Quit
!macroend

; Per machine: every user's Start menu and the machine's classes, which needs administrators.
!macro UseMachine UN
    StrCpy $MachineWide 1
    SetShellVarContext all
    ; True only with the rights in hand: an administrator's token filtered by UAC says no.
    System::Call "shell32::IsUserAnAdmin() i .r0"
    ${If} $0 == 0
        !insertmacro RunElevated "${UN}"
    ${EndIf}
!macroend

Function .onInit
    ${GetParameters} $Parameters
    SetShellVarContext current
    StrCpy $MachineWide ""
    ClearErrors
    ${GetOptions} $Parameters "/AllUsers" $0
    ${IfNot} ${Errors}
        !insertmacro UseMachine ""
    ${EndIf}
    ; /D= came first; otherwise the folder of an earlier install, so an update lands there.
    ${If} $INSTDIR == ""
        ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${EndIf}
    ${If} $INSTDIR == ""
        ${If} $MachineWide == 1
            StrCpy $INSTDIR "$PROGRAMFILES64\Tarvel"
        ${Else}
            StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Tarvel"
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "Tarvel Menus" SecMain
    SetOutPath "$INSTDIR"
    File "${STAGE}/tvlengin.exe"
    File "${STAGE}/tvledit.exe"
    File "${STAGE}/template.tvl"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; .tvl files: open pops the menu up, edit opens it in the editor, and the file's icon is the
    ; picture at its head (a menu file starts with an icon file).
    WriteRegStr SHCTX "${CLASSES}\.tvl" "" "${PROGID}"
    WriteRegStr SHCTX "${CLASSES}\.tvl\ShellNew" "FileName" "$INSTDIR\template.tvl"
    WriteRegStr SHCTX "${CLASSES}\${PROGID}" "" "Tarvel menu"
    WriteRegStr SHCTX "${CLASSES}\${PROGID}\DefaultIcon" "" "%1"
    WriteRegStr SHCTX "${CLASSES}\${PROGID}\shell" "" "open"
    WriteRegStr SHCTX "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\tvlengin.exe" "%1"'
    WriteRegStr SHCTX "${CLASSES}\${PROGID}\shell\edit" "" "Edit menu"
    WriteRegStr SHCTX "${CLASSES}\${PROGID}\shell\edit\command" "" '"$INSTDIR\tvledit.exe" "%1"'

    CreateShortcut "${STARTMENU_LINK}" "$INSTDIR\tvledit.exe" "" "$INSTDIR\tvledit.exe" 0 \
        SW_SHOWNORMAL "" "Edit a Tarvel menu"

    ${If} $MachineWide == 1
        StrCpy $0 " /AllUsers"
    ${Else}
        StrCpy $0 ""
    ${EndIf}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tvledit.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"$0'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S$0'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SecMain} $1  ; KB, as EstimatedSize wants
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $1

    ${NotifyAssociationsChanged}
SectionEnd

Function un.onInit
    ${un.GetParameters} $Parameters
    SetShellVarContext current
    StrCpy $MachineWide ""
    ClearErrors
    ${un.GetOptions} $Parameters "/AllUsers" $0
    ${IfNot} ${Errors}
        !insertmacro UseMachine "un."
        Return
    ${EndIf}
    ClearErrors
    ${un.GetOptions} $Parameters "/CurrentUser" $0
    ${IfNot} ${Errors}
        Return
    ${EndIf}
    ; Started by hand: the machine's entry says whether this folder is the machine's install.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        !insertmacro UseMachine "un."
    ${EndIf}
FunctionEnd

Section "Uninstall"
    ; Only what the installer put there: menus the user saved in the folder stay, and so does
    ; the folder then.
    Delete "$INSTDIR\tvlengin.exe"
    Delete "$INSTDIR\tvledit.exe"
    Delete "$INSTDIR\template.tvl"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${STARTMENU_LINK}"

    DeleteRegKey SHCTX "${CLASSES}\${PROGID}"
    ; .tvl is left to a program that took it over since.
    ReadRegStr $0 SHCTX "${CLASSES}\.tvl\ShellNew" "FileName"
    ${If} $0 == "$INSTDIR\template.tvl"
        DeleteRegKey SHCTX "${CLASSES}\.tvl\ShellNew"
    ${EndIf}
    ReadRegStr $0 SHCTX "${CLASSES}\.tvl" ""
    ${If} $0 == "${PROGID}"
        DeleteRegValue SHCTX "${CLASSES}\.tvl" ""
    ${EndIf}
    DeleteRegKey /ifempty SHCTX "${CLASSES}\.tvl"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"

    ${NotifyAssociationsChanged}
SectionEnd
