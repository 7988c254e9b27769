; Setup program for Pembrix Gloamery, built by the Windows build trees:
;   makensis -DVERSION=1.11.0.10 -DDISPLAY_VERSION=1.11 -DFILES=<folder> -DOUTFILE=<setup.exe>
;            [-DWIN64] Gloamery.nsi
; FILES is the distributable folder: the program, its help file, the two default maps, their
; licence notice and the readme.
;
; Command line (besides NSIS's own /S and /D=folder):
;   /NOSTARTUP   leave out the start at sign-in
; It installs for the user who runs it, without an administrator, under
; %LOCALAPPDATA%\Programs, or where an earlier per-user installation is.
; Uninstaller:
;   /REMOVEDATA  remove the settings and the wallpaper pictures without asking
;                (otherwise the user is asked; a silent uninstall keeps them)

Unicode true
!ifdef WIN64
    Target amd64-unicode
!endif
SetCompressor /SOLID lzma

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include WinMessages.nsh

!define PRODUCT "Pembrix Gloamery"
!define PUBLISHER "Pembrix Software"
!define HOME_PAGE "http://www.pembrix.example/"
!define EXE "Pembrix Gloamery.exe"
!define UNINSTALLER "Uninstall.exe"
!define SHORTCUT "Pembrix Gloamery.lnk"
; Its title finds a running copy, shown or hidden.
!define SETTINGS_WINDOW "Pembrix Gloamery Settings"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pembrix Gloamery"
!define VENDOR_KEY "Software\Pembrix"
!define SETTINGS_KEY "Software\Pembrix\Pembrix Gloamery"
!define VENDOR_FOLDER "$LOCALAPPDATA\Pembrix Software"
!define OUTPUT_FOLDER "$LOCALAPPDATA\Pembrix Software\Gloamery"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The program, its settings, its pictures, its shortcuts and its entry in the installed-programs
; list all belong to the user who installs it, so it installs among that user's own programs
; and needs no administrator: one who elevated would get the shortcuts and the entry instead.
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
RequestExecutionLevel user
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PUBLISHER}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER} - ${HOME_PAGE}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${DISPLAY_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${DISPLAY_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright © 2026 ${PUBLISHER}"

!define MUI_ICON "../app/res/Gloamery.ico"
!define MUI_UNICON "../app/res/Gloamery.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\ReadMe.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Closes every running copy of the program, the hidden one started at sign-in included, so
; that its files can be replaced or removed.
!macro CLOSE_RUNNING_COPIES_FUNCTION prefix
    Function ${prefix}CloseRunningCopies
        ${For} $1 1 80
            FindWindow $0 "" "${SETTINGS_WINDOW}"
            ${IfThen} $0 = 0 ${|} ${ExitFor} ${|}
            SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
            Sleep 250
        ${Next}
    FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_COPIES_FUNCTION ""
!insertmacro CLOSE_RUNNING_COPIES_FUNCTION "un."

; Where the installed-programs list says an earlier installation is, if anywhere.
Var EarlierLocation

Section "!${PRODUCT}" SecProgram
    SectionIn RO
    Call RemoveEarlierInstallation
    Call CloseRunningCopies
    ; The working folder of every shortcut made below: the styles look for their maps in the
    ; folder the program was started in.
    SetOutPath "$INSTDIR"
    File "${FILES}/${EXE}"
    File "${FILES}/Pembrix Gloamery.chm"
    File "${FILES}/Earth by day - ocean ice.jpg"
    File "${FILES}/Earth by night - city lights.jpg"
    File "${FILES}/Earth maps - licence.txt"
    File "${FILES}/ReadMe.txt"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    CreateShortCut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 \
        SW_SHOWNORMAL "" "Keeps the wallpaper showing the Earth as it is lit right now"
    ; A start at sign-in from an earlier installation goes unless it is chosen again below.
    Delete "$SMSTARTUP\${SHORTCUT}"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${DISPLAY_VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start at sign-in (hidden)" SecStartup
    ; A shortcut rather than a Run value: programs under Run start in the system folder, where
    ; the maps are not.
    SetOutPath "$INSTDIR"
    CreateShortCut "$SMSTARTUP\${SHORTCUT}" "$INSTDIR\${EXE}" "/s" "$INSTDIR\${EXE}" 0 \
        SW_SHOWNORMAL "" "Keeps the wallpaper up to date from sign-in, without a window"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} \
        "The program, its help, the day and night maps, and a Start menu shortcut."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecStartup} \
        "Start ${PRODUCT} without a window each time you sign in, so that the wallpaper \
        is always up to date."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/NOSTARTUP" $R1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecStartup}
    ${EndIf}

    ; An update goes where the earlier installation is, unless /D chose another folder or that
    ; one is under Program Files, where only an administrator could update it.
    ReadRegStr $EarlierLocation HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $EarlierLocation != ""
    ${AndIf} ${FileExists} "$EarlierLocation\${UNINSTALLER}"
    ${AndIf} $INSTDIR == "$LOCALAPPDATA\Programs\${PRODUCT}"
        StrCpy $1 $EarlierLocation
        Call IsInProgramFiles
        ${IfThen} $0 == 0 ${|} StrCpy $INSTDIR $EarlierLocation ${|}
    ${EndIf}
FunctionEnd

; Sets $0 to 1 when the folder $1 lies in either Program Files folder, else to 0.
!macro SET_IF_IN_FOLDER parent
    StrLen $3 "${parent}\"
    StrCpy $4 $1 $3
    ; StrCmp ignores case, as Windows does in paths.
    ${IfThen} $4 == "${parent}\" ${|} StrCpy $0 1 ${|}
!macroend
Function IsInProgramFiles
    StrCpy $0 0
    !insertmacro SET_IF_IN_FOLDER "$PROGRAMFILES32"
    !insertmacro SET_IF_IN_FOLDER "$PROGRAMFILES64"
FunctionEnd

; An earlier installation in another folder is uninstalled first, keeping the user's settings
; and pictures, so that the user never has two copies or one without an entry to remove it by.
; Its uninstaller may ask for an administrator: started through the shell, it can.
Function RemoveEarlierInstallation
    ; No entry: no earlier installation, and no "\Uninstall.exe" of the drive's to be run.
    ${If} $EarlierLocation == ""
    ${OrIf} $EarlierLocation == $INSTDIR
    ${OrIfNot} ${FileExists} "$EarlierLocation\${UNINSTALLER}"
        Return
    ${EndIf}
    DetailPrint "Removing the earlier installation in $EarlierLocation"
    ClearErrors
    ExecShellWait "" "$EarlierLocation\${UNINSTALLER}" "/S"
    ${IfNot} ${Errors}
        ; It hands over to a copy of itself and returns at once; the copy removes the entry
        ; last, and must be done before the entry is written anew.
        ${For} $1 1 240
            ClearErrors
            ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
            ${If} ${Errors}
            ${OrIf} $0 != $EarlierLocation
                Return
            ${EndIf}
            Sleep 250
        ${Next}
        ; Uninstalled by an administrator of another account, whose own list held the entry.
        ${IfNot} ${FileExists} "$EarlierLocation\${UNINSTALLER}"
            Return
        ${EndIf}
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "The earlier installation of ${PRODUCT} in $EarlierLocation \
        could not be removed. Uninstall it from the installed programs, then run this setup \
        again." /SD IDOK
    Abort
FunctionEnd

Function StartProgram
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\${EXE}"'
FunctionEnd

Section "Uninstall"
    Call un.CloseRunningCopies
    ; A copy that has just closed its window may hold its file for a moment longer.
    ${For} $1 1 40
        ClearErrors
        Delete "$INSTDIR\${EXE}"
        ${IfNotThen} ${Errors} ${|} ${ExitFor} ${|}
        Sleep 250
    ${Next}
    Delete /REBOOTOK "$INSTDIR\${EXE}"
    Delete /REBOOTOK "$INSTDIR\Pembrix Gloamery.chm"
    Delete /REBOOTOK "$INSTDIR\Earth by day - ocean ice.jpg"
    Delete /REBOOTOK "$INSTDIR\Earth by night - city lights.jpg"
    Delete /REBOOTOK "$INSTDIR\Earth maps - licence.txt"
    Delete /REBOOTOK "$INSTDIR\ReadMe.txt"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir /REBOOTOK "$INSTDIR"
    Delete "$SMPROGRAMS\${SHORTCUT}"
    Delete "$SMSTARTUP\${SHORTCUT}"

    Call un.RemoveUserData
    ; Last, so that the entry stays listed while anything above is unfinished.
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; The settings and the wallpaper pictures stay unless the user says otherwise.
Function un.RemoveUserData
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/REMOVEDATA" $R1
    ${If} ${Errors}
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
            "Also remove your ${PRODUCT} settings and the wallpaper pictures it made?" \
            /SD IDNO IDYES remove
        Return
    ${EndIf}
remove:
    DetailPrint "Removing the settings and the wallpaper pictures"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${VENDOR_KEY}"
    RMDir /r "${OUTPUT_FOLDER}"
    RMDir "${VENDOR_FOLDER}"
FunctionEnd
