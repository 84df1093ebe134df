; QELSETUP.EXE: installs the display driver support tools, and QELUNINS.EXE
; removes them again. Compiled by package/installer/CMakeLists.txt, which
; defines VERSION, COMPANY, PRODUCT, COPYRIGHT_YEARS, BINDIR (the
; release's bin folder), ICON, SIDE_PICTURE and OUTFILE.
;
; An ANSI installer, so that it runs on every 32-bit Windows from 95 and
; NT 4.0 on. "QELSETUP /S" installs silently ("/D=C:\PATH", last, chooses
; the folder); "QELUNINS /S" uninstalls silently.

Unicode false
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QELDisplayTools"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define CLASS_KEY "System\CurrentControlSet\Services\Class"
!define DRIVER_KEY "${CLASS_KEY}\DISPLAY\QEL"
!define WIZARD_KEY "${CLASS_KEY}\Display\QELPR"
!define DEFAULT_SCHEME "~~dEF_qel_cOL_sCHEME~~"
!define MENU_FOLDER "QEL Display Tools"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\QEL Display Tools"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${COPYRIGHT_YEARS} ${COMPANY}"
VIAddVersionKey /LANG=1033 "OriginalFilename" "QELSETUP.EXE"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE_PICTURE}"
!define MUI_ABORTWARNING
; The German titles of the welcome and finish pages take three lines.
!define MUI_WELCOMEPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_RUN "$INSTDIR\QelIcon.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(StartTrayNow)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString StartTrayNow ${LANG_ENGLISH} "Start the display tray utility now"
LangString StartTrayNow ${LANG_GERMAN} "Das Anzeige-Symbol in der Taskleiste jetzt starten"
LangString WizardLink ${LANG_ENGLISH} "Problem Report Wizard"
LangString WizardLink ${LANG_GERMAN} "Assistent für Problemberichte"
LangString HelpLink ${LANG_ENGLISH} "Display Tools Help"
LangString HelpLink ${LANG_GERMAN} "Hilfe zu den Anzeige-Werkzeugen"
LangString HelpLanguage ${LANG_ENGLISH} "ENU"
LangString HelpLanguage ${LANG_GERMAN} "DEU"

; ---------------------------------------------------------------------------
; Shared by setup and uninstall

; Ends the tray utility and the hot-key program, so that their files can be
; replaced or removed: both end on WM_CLOSE like on their own exit command.
!macro CloseProgram un class
    Function ${un}Close${class}
        StrCpy $1 0
        ${Do}
            FindWindow $0 "${class}"
            ${If} $0 = 0
            ${OrIf} $1 >= 20
                ${Break}
            ${EndIf}
            SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
            Sleep 250
            IntOp $1 $1 + 1
        ${Loop}
        ; The process may still hold its files for a moment after its window.
        Sleep 500
    FunctionEnd
!macroend
!insertmacro CloseProgram "" QelIcon
!insertmacro CloseProgram "" QELHkClass
!insertmacro CloseProgram "un." QelIcon
!insertmacro CloseProgram "un." QELHkClass

; ---------------------------------------------------------------------------
; Setup

; Sets $0 to 1 when HKLM\<key> exists, else 0.
!macro KeyExists key
    ClearErrors
    EnumRegKey $0 HKLM "${key}" 0
    ${If} ${Errors}
        StrCpy $0 0
    ${Else}
        StrCpy $0 1
    ${EndIf}
!macroend

; Remembers, in the uninstall key, that HKLM\<key> existed before the first
; setup: the uninstaller leaves such keys in place.
!macro RememberKey name key
    !insertmacro KeyExists "${key}"
    ${If} $0 = 1
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "Prior ${name}" 1
    ${EndIf}
!macroend

!macro RememberValue name key value
    ClearErrors
    ReadRegStr $0 HKLM "${key}" "${value}"
    ${IfNot} ${Errors}
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "Prior ${name}" 1
    ${EndIf}
!macroend

Function RememberPriorState
    !insertmacro KeyExists "${UNINSTALL_KEY}"
    ${If} $0 = 1
        Return                  ; a later setup over this one: already known
    ${EndIf}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    !insertmacro RememberKey Class "${CLASS_KEY}"
    !insertmacro RememberKey Display "${CLASS_KEY}\DISPLAY"
    !insertmacro RememberKey Driver "${DRIVER_KEY}"
    !insertmacro RememberKey Settings "${DRIVER_KEY}\Settings"
    !insertmacro RememberKey Panning "${DRIVER_KEY}\Panning"
    !insertmacro RememberKey ColorCorrection "${DRIVER_KEY}\ColorCorrection"
    !insertmacro RememberValue HelpFile "${DRIVER_KEY}" "HelpFile"
    !insertmacro RememberValue Scheme "${DRIVER_KEY}\ColorCorrection" "${DEFAULT_SCHEME}"
FunctionEnd

; The tray utility finds its help file through the driver settings key's
; "HelpFile" pattern, read into 100 bytes: a long folder is given by its
; short name. A pattern that the display driver set up is left alone.
Function WriteHelpFilePattern
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Prior HelpFile"
    ${If} $0 == 1
        Return
    ${EndIf}
    StrCpy $0 "$INSTDIR\QEL%s.HLP"
    StrLen $1 $0
    ${If} $1 > 99
        GetFullPathName /SHORT $0 "$INSTDIR"
        StrCpy $0 "$0\QEL%s.HLP"
    ${EndIf}
    WriteRegStr HKLM "${DRIVER_KEY}" "HelpFile" $0
FunctionEnd

Section "Install"
    SetShellVarContext all
    Call CloseQelIcon
    Call CloseQELHkClass
    Call RememberPriorState

    SetOutPath "$INSTDIR"
    File "${BINDIR}\QELPR.EXE"
    File "${BINDIR}\QELPRENU.RSC"
    File "${BINDIR}\QELPRDEU.RSC"
    File "${BINDIR}\QELPRDEF.RSC"
    File "${BINDIR}\QelIcon.exe"
    File "${BINDIR}\QELICENU.RSC"
    File "${BINDIR}\QELICDEU.RSC"
    File "${BINDIR}\QELICDEF.RSC"
    File "${BINDIR}\QELENU.HLP"
    File "${BINDIR}\QELDEU.HLP"
    File "${BINDIR}\QELDEF.HLP"
    File "${BINDIR}\QELDCFG.DLL"
    File "${BINDIR}\QELHWA.dll"
    File "${BINDIR}\qelhk32.exe"
    WriteUninstaller "$INSTDIR\QELUNINS.EXE"

    Call WriteHelpFilePattern
    WriteRegStr HKLM "${RUN_KEY}" "QelIcon" '"$INSTDIR\QelIcon.exe"'

    CreateDirectory "$SMPROGRAMS\${MENU_FOLDER}"
    CreateShortCut "$SMPROGRAMS\${MENU_FOLDER}\$(WizardLink).lnk" "$INSTDIR\QELPR.EXE"
    CreateShortCut "$SMPROGRAMS\${MENU_FOLDER}\$(HelpLink).lnk" \
        "$INSTDIR\QEL$(HelpLanguage).HLP"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\QELPR.EXE,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\QELUNINS.EXE"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\QELUNINS.EXE" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; ---------------------------------------------------------------------------
; Uninstall

; Takes every word "qelhk32.exe" (any letter case) out of the WIN.INI
; "load" entry, which the tray utility extends to start the hot-key program
; with Windows, and keeps the other words in their order. An entry left
; empty is removed.
Function un.RemoveHotKeyProgramFromLoad
    ReadINIStr $0 "$WINDIR\win.ini" "windows" "load"
    StrCpy $1 ""                ; the entry without the word
    StrCpy $2 ""                ; the word being read
    StrCpy $3 0                 ; position in the entry
    StrCpy $5 0                 ; whether the word was there
    ${Do}
        StrCpy $4 $0 1 $3
        ${If} $4 == " "
        ${OrIf} $4 == "$\t"
        ${OrIf} $4 == ""
            ${If} $2 == "qelhk32.exe"
                StrCpy $5 1
            ${ElseIf} $2 != ""
                ${If} $1 == ""
                    StrCpy $1 $2
                ${Else}
                    StrCpy $1 "$1 $2"
                ${EndIf}
            ${EndIf}
            StrCpy $2 ""
            ${If} $4 == ""
                ${Break}
            ${EndIf}
        ${Else}
            StrCpy $2 "$2$4"
        ${EndIf}
        IntOp $3 $3 + 1
    ${Loop}
    ${If} $5 = 0
        Return
    ${EndIf}
    ${If} $1 == ""
        DeleteINIStr "$WINDIR\win.ini" "windows" "load"
    ${Else}
        WriteINIStr "$WINDIR\win.ini" "windows" "load" $1
    ${EndIf}
    FlushINI "$WINDIR\win.ini"
FunctionEnd

; Removes HKLM\<key> when the package or its programs made it (it did not
; exist before the first setup) and nothing else lies in it now.
!macro RemoveMadeKey name key
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "Prior ${name}"
    ${If} $0 <> 1
        DeleteRegKey /ifempty HKLM "${key}"
    ${EndIf}
!macroend

; What the programs wrote: the answers the wizard remembers (they hold the
; user's contact details, readable by every user of the machine), the
; tray utility's record of the last display setting and colour scheme
; chosen and of the scheme in force, and the help file pattern of setup.
Function un.RemoveRegistryEntries
    DeleteRegKey HKLM "${WIZARD_KEY}"
    DeleteRegValue HKLM "${DRIVER_KEY}\Settings" ""
    DeleteRegValue HKLM "${DRIVER_KEY}\ColorCorrection" ""
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "Prior Scheme"
    ${If} $0 <> 1
        DeleteRegValue HKLM "${DRIVER_KEY}\ColorCorrection" "${DEFAULT_SCHEME}"
    ${EndIf}
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "Prior HelpFile"
    ${If} $0 <> 1
        DeleteRegValue HKLM "${DRIVER_KEY}" "HelpFile"
    ${EndIf}
    !insertmacro RemoveMadeKey Settings "${DRIVER_KEY}\Settings"
    !insertmacro RemoveMadeKey Panning "${DRIVER_KEY}\Panning"
    !insertmacro RemoveMadeKey ColorCorrection "${DRIVER_KEY}\ColorCorrection"
    !insertmacro RemoveMadeKey Driver "${DRIVER_KEY}"
    !insertmacro RemoveMadeKey Display "${CLASS_KEY}\DISPLAY"
    !insertmacro RemoveMadeKey Class "${CLASS_KEY}"
    DeleteRegValue HKLM "${RUN_KEY}" "QelIcon"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    Call un.CloseQelIcon
    Call un.CloseQELHkClass

    Delete "$SMPROGRAMS\${MENU_FOLDER}\*.lnk"
    RMDir "$SMPROGRAMS\${MENU_FOLDER}"

    Delete "$INSTDIR\QELPR.EXE"
    Delete "$INSTDIR\QELPRENU.RSC"
    Delete "$INSTDIR\QELPRDEU.RSC"
    Delete "$INSTDIR\QELPRDEF.RSC"
    Delete "$INSTDIR\QelIcon.exe"
    Delete "$INSTDIR\QELICENU.RSC"
    Delete "$INSTDIR\QELICDEU.RSC"
    Delete "$INSTDIR\QELICDEF.RSC"
    Delete "$INSTDIR\QELENU.HLP"
    Delete "$INSTDIR\QELDEU.HLP"
    Delete "$INSTDIR\QELDEF.HLP"
    ; The help viewer's indexes of the help files.
    Delete "$INSTDIR\QEL???.GID"
    Delete "$INSTDIR\QEL???.FTS"
    Delete "$INSTDIR\QEL???.FTG"
    Delete "$INSTDIR\QELDCFG.DLL"
    Delete "$INSTDIR\QELHWA.dll"
    Delete "$INSTDIR\qelhk32.exe"
    Delete "$INSTDIR\QELUNINS.EXE"
    ; Reports the user saved here keep the folder.
    RMDir "$INSTDIR"

    Call un.RemoveHotKeyProgramFromLoad
    Call un.RemoveRegistryEntries
SectionEnd
