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
;
; Several folders may hold an install at once (another /D=): the file type, the Start menu entry
; and the uninstall entry belong to the last one installed, and an uninstaller removes each only
; while it still names its own folder. The files each install wrote are recorded under
; RECORD_KEY (value: the file's path), so an uninstaller deletes only those, and an installer
; overwrites no file of the same name that another program or the user put there.

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
; The editor's shortcuts of menus (its Shortcuts page), in the user's own Start menu.
!define MENU_SHORTCUTS "$SMPROGRAMS\Tarvel Menus"
!define RECORD_KEY "Software\Tarvel\Installed files"
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
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
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

; $0 = 1 when the file named on the stack may be written in $INSTDIR: it is not there, or an
; install of ours recorded it, or the folder holds an install that recorded nothing (made before
; the records) and is the one the uninstall entry names.
Function MayWrite
    Exch $1
    StrCpy $0 1
    ${If} ${FileExists} "$INSTDIR\$1"
        ReadRegStr $0 SHCTX "${RECORD_KEY}" "$INSTDIR\$1"
        ${If} $0 == ""
            ReadRegStr $0 SHCTX "${RECORD_KEY}" "$INSTDIR\uninstall.exe"
            ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
            ${If} $0 == ""
            ${AndIf} $1 == $INSTDIR
                StrCpy $0 1
            ${Else}
                StrCpy $0 ""
            ${EndIf}
        ${EndIf}
    ${EndIf}
    Pop $1
FunctionEnd

; $0 = the first program file in $INSTDIR that belongs to something else, or "". Without its
; programs the install would not work, and replacing them would break the other program.
!macro ReturnIfForeign NAME
    Push ${NAME}
    Call MayWrite
    ${If} $0 == ""
        StrCpy $0 ${NAME}
        Return
    ${EndIf}
!macroend

Function FindForeignProgram
    !insertmacro ReturnIfForeign tvlengin.exe
    !insertmacro ReturnIfForeign tvledit.exe
    !insertmacro ReturnIfForeign uninstall.exe
    StrCpy $0 ""
FunctionEnd

!define FOREIGN_PROGRAM_TEXT \
    "$INSTDIR already holds a $0 of another program. Choose another folder for ${PRODUCT}."

Function DirectoryLeave
    Call FindForeignProgram
    ${If} $0 != ""
        MessageBox MB_ICONSTOP|MB_OK "${FOREIGN_PROGRAM_TEXT}"
        Abort  ; stays on the page
    ${EndIf}
FunctionEnd

; Writes one staged file and records it as this install's.
!macro InstallFile NAME
    File "${STAGE}/${NAME}"
    WriteRegStr SHCTX "${RECORD_KEY}" "$INSTDIR\${NAME}" "${VERSION}"
!macroend

Section "Tarvel Menus" SecMain
    SetOutPath "$INSTDIR"
    ; A silent install has had no page to say it on.
    Call FindForeignProgram
    ${If} $0 != ""
        MessageBox MB_ICONSTOP|MB_OK "${FOREIGN_PROGRAM_TEXT}" /SD IDOK
        Abort
    ${EndIf}
    !insertmacro InstallFile tvlengin.exe
    !insertmacro InstallFile tvledit.exe
    ; A template.tvl of the user's stays as it is, and Explorer's New entry is not made from it.
    Push template.tvl
    Call MayWrite
    StrCpy $4 $0
    ${If} $4 == 1
        !insertmacro InstallFile template.tvl
    ${EndIf}
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr SHCTX "${RECORD_KEY}" "$INSTDIR\uninstall.exe" "${VERSION}"

    ; .tvl files: open pops the menu up, edit opens it in the editor, and the file's icon is the
    ; picture at its head (a menu file starts with an icon file).
    WriteRegStr SHCTX "${CLASSES}\.tvl" "" "${PROGID}"
    ${If} $4 == 1
        WriteRegStr SHCTX "${CLASSES}\.tvl\ShellNew" "FileName" "$INSTDIR\template.tvl"
    ${EndIf}
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
    ; Started by hand: the machine's records (or its entry) say whether this folder is the
    ; machine's install; the entry may name a newer install elsewhere by now.
    ReadRegStr $0 HKLM "${RECORD_KEY}" "$INSTDIR\uninstall.exe"
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${OrIf} $1 == $INSTDIR
        !insertmacro UseMachine "un."
    ${EndIf}
FunctionEnd

; $0 = the path of the program the shortcut named on the stack starts, or "" when there is no
; such shortcut. No plug-in of NSIS reads shortcuts, so this asks IShellLinkW through COM.
!define CLSID_ShellLink "{00021401-0000-0000-C000-000000000046}"
!define IID_IShellLinkW "{000214F9-0000-0000-C000-000000000046}"
!define IID_IPersistFile "{0000010B-0000-0000-C000-000000000046}"
Function un.LinkTarget
    Exch $R0
    Push $R1
    Push $R2
    Push $R3
    StrCpy $0 ""
    ; S_OK or S_FALSE (COM was started on this thread already) each want their CoUninitialize.
    System::Call "ole32::CoInitializeEx(p 0, i 2) i .R3"
    System::Call "ole32::CoCreateInstance(g '${CLSID_ShellLink}', p 0, i 1, \
        g '${IID_IShellLinkW}', *p .R1) i .R2"
    ${If} $R2 = 0
        System::Call "$R1->0(g '${IID_IPersistFile}', *p .R2) i .r0"  ; QueryInterface
        ${If} $0 = 0
            System::Call "$R2->5(w R0, i 0) i .r0"  ; IPersistFile::Load, read only
            ${If} $0 = 0
                ; IShellLinkW::GetPath, the path as stored
                System::Call "$R1->3(w .r0, i ${NSIS_MAX_STRLEN}, p 0, i 0)"
            ${Else}
                StrCpy $0 ""
            ${EndIf}
            System::Call "$R2->2()"  ; Release
        ${Else}
            StrCpy $0 ""
        ${EndIf}
        System::Call "$R1->2()"
    ${EndIf}
    ${If} $R3 >= 0
        System::Call "ole32::CoUninitialize()"
    ${EndIf}
    Pop $R3
    Pop $R2
    Pop $R1
    Pop $R0
FunctionEnd

; Deletes a file of the folder if this install recorded it, then its record; the record of
; an uninstaller run in place (_?=), which cannot delete itself, stays with it.
!macro RemoveOwnFile NAME
    ReadRegStr $0 SHCTX "${RECORD_KEY}" "$INSTDIR\${NAME}"
    ${If} $0 != ""
        Delete "$INSTDIR\${NAME}"
        ${IfNot} ${FileExists} "$INSTDIR\${NAME}"
            DeleteRegValue SHCTX "${RECORD_KEY}" "$INSTDIR\${NAME}"
        ${EndIf}
    ${EndIf}
!macroend

; Deletes the shortcuts of menus in the Start menu's folder of menus that start this folder's
; engine ($R5: its path, $R4: its short form), then the folder when nothing else is in it. Only
; shortcuts: a menu file the user keeps there stays, and so do shortcuts of another program or
; of an engine installed elsewhere.
Function un.RemoveMenuShortcuts
    FindFirst $R6 $R7 "${MENU_SHORTCUTS}\*.lnk"
    ${DoWhile} $R7 != ""
        Push "${MENU_SHORTCUTS}\$R7"
        Call un.LinkTarget
        ; == compares without regard to case, as Windows compares paths.
        ${If} $0 == $R5
        ${OrIf} $0 == $R4
            Delete "${MENU_SHORTCUTS}\$R7"
        ${EndIf}
        FindNext $R6 $R7
    ${Loop}
    FindClose $R6
    RMDir "${MENU_SHORTCUTS}"
FunctionEnd

Section "Uninstall"
    ; The engine's path as the menus' shortcuts name it, in full or (a path too long for a link's
    ; field) short; taken while the engine is still there to be asked for its short form.
    StrCpy $R5 "$INSTDIR\tvlengin.exe"
    GetFullPathName /SHORT $R4 $R5
    ${If} $R4 == ""
        StrCpy $R4 $R5
    ${EndIf}

    ; Only what this folder's install wrote: menus the user saved in the folder stay, and so does
    ; the folder then; so does a file of the same name the installer found there and kept.
    ReadRegStr $5 SHCTX "${RECORD_KEY}" "$INSTDIR\template.tvl"  ; whether the New entry is ours
    !insertmacro RemoveOwnFile tvlengin.exe
    !insertmacro RemoveOwnFile tvledit.exe
    !insertmacro RemoveOwnFile template.tvl
    !insertmacro RemoveOwnFile uninstall.exe
    RMDir "$INSTDIR"
    DeleteRegKey /ifempty SHCTX "${RECORD_KEY}"
    DeleteRegKey /ifempty SHCTX "Software\Tarvel"

    ; The shortcut, file type and uninstall entry go only while they name this folder: an install
    ; in another folder since has taken them over.
    Push "${STARTMENU_LINK}"
    Call un.LinkTarget
    ${If} $0 == "$INSTDIR\tvledit.exe"
        Delete "${STARTMENU_LINK}"
    ${EndIf}

    ; The editor makes menus' shortcuts for the user who runs it, in that user's own Start menu,
    ; also from an install for every user: the uninstalling user's are the ones within reach
    ; (and, per machine, any an administrator put in every user's Start menu).
    Call un.RemoveMenuShortcuts
    ${If} $MachineWide == 1
        SetShellVarContext current
        Call un.RemoveMenuShortcuts
        SetShellVarContext all
    ${EndIf}

    ReadRegStr $0 SHCTX "${CLASSES}\${PROGID}\shell\open\command" ""
    ReadRegStr $1 SHCTX "${CLASSES}\${PROGID}\shell\edit\command" ""
    ${If} $0 == '"$INSTDIR\tvlengin.exe" "%1"'
    ${AndIf} $1 == '"$INSTDIR\tvledit.exe" "%1"'
        DeleteRegKey SHCTX "${CLASSES}\${PROGID}"
    ${EndIf}
    ; .tvl is left to a program that took it over since, or to the install that still has it.
    ReadRegStr $0 SHCTX "${CLASSES}\.tvl\ShellNew" "FileName"
    ${If} $5 != ""
    ${AndIf} $0 == "$INSTDIR\template.tvl"
        DeleteRegKey SHCTX "${CLASSES}\.tvl\ShellNew"
    ${EndIf}
    ClearErrors
    ReadRegStr $0 SHCTX "${CLASSES}\${PROGID}" ""
    ${If} ${Errors}  ; the class is gone
        ReadRegStr $0 SHCTX "${CLASSES}\.tvl" ""
        ${If} $0 == "${PROGID}"
            DeleteRegValue SHCTX "${CLASSES}\.tvl" ""
        ${EndIf}
    ${EndIf}
    DeleteRegKey /ifempty SHCTX "${CLASSES}\.tvl"

    ; Last: Apps & features, and the tests, take the entry's going as the end.
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "UninstallString"
    StrCpy $2 '"$INSTDIR\uninstall.exe"'
    StrLen $3 $2
    StrCpy $1 $1 $3
    ${If} $0 == $INSTDIR
    ${OrIf} $1 == $2
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${EndIf}

    ${NotifyAssociationsChanged}
SectionEnd
