; Skyliner's setup program. Per user, no administrator rights: the shell keeps
; Skyliner.ini beside itself, and a folder of the user's own keeps it writable.
; makensis is given VERSION, DIST (the three files), ICON, SIDE_PICTURE (the
; welcome and finish pages' 164 x 314 bitmap), OUTFILE and the working folder's names from contract/working_files.h (WorkingFolderName,
; DesktopPictureName, PuffPictureName, SkyPictureName, ModelCopyName).
Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; No build time in the program, so two builds of one commit can match.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "Skyliner"
!define PUBLISHER "The Skyliner authors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define DESKTOP_KEY "Control Panel\Desktop"
; A name of its own: a folder shared with other programs may hold their Uninstall.exe.
!define UNINSTALLER "Uninstall ${PRODUCT}.exe"
; The name setup programs before 1.1 gave it; an upgrade in place removes it.
!define OLD_UNINSTALLER "Uninstall.exe"
!define WORKING_FOLDER "C:\${WorkingFolderName}"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3
; Exit codes of a silent setup or uninstall that refused and changed nothing.
!define EXIT_FOLDER_REFUSED 2
!define EXIT_SKYLINER_RUNS 3

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE_PICTURE}"
!define MUI_CUSTOMFUNCTION_GUIINIT GiveButtonsRoom

!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FolderLeave
!insertmacro MUI_PAGE_DIRECTORY
; The install page stays until Next, so what was done can be read.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!insertmacro MUI_PAGE_INSTFILES
; Finish runs the first box's function before the second's: the saver is chosen
; before the settings open to show it.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(MakeItTheScreensaver)"
!define MUI_FINISHPAGE_RUN_FUNCTION MakeItTheScreensaver
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(OpenScreensaverSettings)"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenScreensaverSettings
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!insertmacro MUI_PAGE_FINISH

!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.ConfirmShow
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE un.ConfirmLeave
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The setup program takes the system's language where it is one of these.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

Var Folder   ; the folder asked for, as typed or passed with /D=
Var Refusal  ; why it cannot take the install, or empty

LangString WelcomeText ${LANG_ENGLISH} "Setup will install ${PRODUCT} ${VERSION}, the desktop-flight screensaver, for you alone: it needs no administrator rights.$\r$\n$\r$\nClick Next to continue."
LangString WelcomeText ${LANG_JAPANESE} "${PRODUCT} ${VERSION} (デスクトップの上を飛ぶスクリーンセーバー) を、このユーザーのためだけにインストールします。管理者の権限はいりません。$\r$\n$\r$\n「次へ」をクリックして続けてください。"
LangString MakeItTheScreensaver ${LANG_ENGLISH} "Make ${PRODUCT} my screensaver"
LangString MakeItTheScreensaver ${LANG_JAPANESE} "${PRODUCT} をスクリーンセーバーにする"
LangString OpenScreensaverSettings ${LANG_ENGLISH} "Open the screensaver settings"
LangString OpenScreensaverSettings ${LANG_JAPANESE} "スクリーンセーバーの設定を開く"
LangString ProgramSection ${LANG_ENGLISH} "${PRODUCT}"
LangString ProgramSection ${LANG_JAPANESE} "${PRODUCT}"
LangString ProgramDescription ${LANG_ENGLISH} "The screensaver, its renderer and its model, and the uninstaller."
LangString ProgramDescription ${LANG_JAPANESE} "スクリーンセーバー本体、描画プログラム、機体のモデル、アンインストーラー。"
LangString SettingsDescription ${LANG_ENGLISH} "Tick to remove your settings too (the background music). Unticked, they stay for a later install."
LangString SettingsDescription ${LANG_JAPANESE} "チェックすると設定 (BGM) も削除します。チェックしなければ、次のインストールのために残します。"
LangString SettingsSection ${LANG_ENGLISH} "My settings (Skyliner.ini)"
LangString SettingsSection ${LANG_JAPANESE} "設定 (Skyliner.ini)"
LangString SkylinerRuns ${LANG_ENGLISH} "${PRODUCT} is running: its screensaver, its settings or its preview. End it (Esc ends the screensaver), then click Retry."
LangString SkylinerRuns ${LANG_JAPANESE} "${PRODUCT} が動いています (スクリーンセーバー、設定、またはプレビュー)。終了してから (スクリーンセーバーは Esc で終わります)「再試行」をクリックしてください。"
LangString FolderNotFull ${LANG_ENGLISH} "$\"$Folder$\" is not a full folder path on a drive, such as C:\Programs\${PRODUCT}. Choose another folder."
LangString FolderNotFull ${LANG_JAPANESE} "「$Folder」は、C:\Programs\${PRODUCT} のようなドライブから始まるフォルダのパスではありません。別のフォルダを選んでください。"
LangString FolderBadCharacter ${LANG_ENGLISH} "$\"$Folder$\" holds the character $1, which Windows does not allow in a folder name. Choose another folder."
LangString FolderBadCharacter ${LANG_JAPANESE} "「$Folder」には、Windows がフォルダ名に使えない文字 $1 が入っています。別のフォルダを選んでください。"
LangString FolderFileInTheWay ${LANG_ENGLISH} "$\"$1$\" is a file, so the folder $\"$Folder$\" cannot be made. Choose another folder."
LangString FolderFileInTheWay ${LANG_JAPANESE} "「$1」がファイルなので、フォルダ「$Folder」を作れません。別のフォルダを選んでください。"
LangString FolderNotWritable ${LANG_ENGLISH} "You cannot write to $\"$1$\", so ${PRODUCT} cannot be installed into $\"$Folder$\". Choose a folder of your own."
LangString FolderNotWritable ${LANG_JAPANESE} "「$1」に書き込めないので、「$Folder」には ${PRODUCT} をインストールできません。自分のフォルダを選んでください。"
LangString FolderHoldsOthers ${LANG_ENGLISH} "$\"$Folder$\" already holds $1, which this setup program did not put there. Choose another folder."
LangString FolderHoldsOthers ${LANG_JAPANESE} "「$Folder」には、このセットアップが入れたものではない $1 がすでにあります。別のフォルダを選んでください。"
LangString InstalledElsewhere ${LANG_ENGLISH} "${PRODUCT} is already installed in $\"$1$\". Install it there again, or uninstall it first."
LangString InstalledElsewhere ${LANG_JAPANESE} "${PRODUCT} はすでに「$1」にインストールされています。同じフォルダにインストールし直すか、先にアンインストールしてください。"
LangString SaverNotChosen ${LANG_ENGLISH} "${PRODUCT} has been installed, but not made your screensaver: this drive keeps no short names, and Windows would cut the path $\"$0$\" at its first space. Install it into a folder without spaces to choose it."
LangString SaverNotChosen ${LANG_JAPANESE} "${PRODUCT} をインストールしましたが、スクリーンセーバーには設定していません。このドライブには短い名前 (8.3 形式) がなく、Windows はパス「$0」を最初の空白で切ってしまいます。空白のないフォルダにインストールすると設定できます。"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) the ${PRODUCT} authors"

; The first character of text that is one of those in set, or empty, in result.
!macro FirstOf result text set
  Push `${set}`
  Push `${text}`
  System::Call 'shlwapi::StrCSpnW(w s, w s) i .s'
  Pop ${result}
  StrCpy ${result} `${text}` 1 ${result}
!macroend

; --- A running Skyliner: the setup program and the uninstaller wait for its end.

; Sets $1 when a window of that title exists: the saver's hidden form, the
; renderer or the settings dialog, run from any folder.
!macro SetIfWindow title
  System::Call 'user32::FindWindowW(p 0, w "${title}") p .r0'
  ${IfThen} $0 <> 0 ${|} StrCpy $1 1 ${|}
!macroend

; Sets $1 when the file is open in a running program (a preview holds only its files).
!macro SetIfInUse file
  System::Call 'kernel32::CreateFileW(w "${file}", i 0x40000000, i 0, p 0, i 3, i 0, p 0) p .r0 ?e'
  Pop $2
  ${If} $0 <> -1
    System::Call 'kernel32::CloseHandle(p r0)'
  ${ElseIf} $2 = 32  ; ERROR_SHARING_VIOLATION
    StrCpy $1 1
  ${EndIf}
!macroend

!macro RunningFunctions un
; Asks to end a running Skyliner and retry until none runs. $0: empty once none
; runs, "runs" when the user cancelled (or a silent run, which does not wait).
Function ${un}WaitForSkyliner
  again:
  StrCpy $1 ""
  !insertmacro SetIfWindow "Jetscape_Main"
  !insertmacro SetIfWindow "Jetscape_VC"
  !insertmacro SetIfWindow "<Skyliner>"
  !insertmacro SetIfInUse "$INSTDIR\Skyliner.scr"
  !insertmacro SetIfInUse "$INSTDIR\Skyliner.dll"
  StrCpy $0 $1
  ${If} $0 != ""
    StrCpy $0 runs
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(SkylinerRuns)" /SD IDCANCEL IDRETRY again
  ${EndIf}
FunctionEnd

; A fifth of control $0's width in $9: the room a Japanese text is given.
Function ${un}FifthOfWidth
  System::Call '*(i, i, i, i) p .r3'
  System::Call 'user32::GetWindowRect(p r0, p r3)'
  System::Call '*$3(i .r5, i, i .r7, i)'
  System::Free $3
  IntOp $9 $7 - $5
  IntOp $9 $9 / 5
FunctionEnd

; Moves control $0's left edge by $1 pixels and its right edge by $2 (negative: leftwards).
Function ${un}MoveEdges
  System::Call '*(i, i, i, i) p .r3'
  System::Call 'user32::GetWindowRect(p r0, p r3)'
  System::Call 'user32::GetParent(p r0) p .r4'
  System::Call 'user32::MapWindowPoints(p 0, p r4, p r3, i 2)'
  System::Call '*$3(i .r5, i .r6, i .r7, i .r8)'
  System::Free $3
  IntOp $5 $5 + $1
  IntOp $7 $7 + $2
  IntOp $7 $7 - $5
  IntOp $8 $8 - $6
  System::Call 'user32::SetWindowPos(p r0, p 0, i r5, i r6, i r7, i r8, i 0x14)'  ; SWP_NOZORDER | SWP_NOACTIVATE
FunctionEnd
!macroend
!insertmacro RunningFunctions ""
!insertmacro RunningFunctions "un."

; --- The folder: checked before anything is written.

; The folder a silent setup was given: what follows " /D=" on the command line as
; it was typed (NSIS puts its default in $INSTDIR for a folder it cannot use, and
; drops the characters it does not allow), else $INSTDIR.
Function RequestedFolder
  StrCpy $Folder $INSTDIR
  System::Call 'kernel32::GetCommandLineW() w .r0'
  StrCpy $1 0
  ${Do}
    StrCpy $2 $0 4 $1
    ${IfThen} $2 == "" ${|} ${ExitDo} ${|}
    ${If} $2 S== " /D="
      IntOp $1 $1 + 4
      StrCpy $Folder $0 "" $1
      ${ExitDo}
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
FunctionEnd

; Sets $Refusal when the folder holds that file: the install never overwrites
; a file it did not write.
!macro RefuseIfPresent name
  ${If} ${FileExists} "$Folder\${name}"
    StrCpy $1 "${name}"
    StrCpy $Refusal "$(FolderHoldsOthers)"
    Return
  ${EndIf}
!macroend

; Sets $Refusal when $Folder (trailing backslashes dropped) cannot take the
; install: not a full path on a drive (relative, UNC, a bare drive), a character
; Windows refuses, a file where a folder must be, a place the user cannot write,
; another install of ours elsewhere, or files of ours this setup did not write.
Function CheckFolder
  StrCpy $Refusal ""
  ${Do}
    StrCpy $0 $Folder 1 -1
    ${IfThen} $0 != "\" ${|} ${ExitDo} ${|}
    StrCpy $Folder $Folder -1
  ${Loop}
  StrCpy $0 $Folder 1
  !insertmacro FirstOf $1 $0 "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
  StrCpy $0 $Folder 2 1
  ${If} $1 == ""
  ${OrIf} $0 != ":\"
    StrCpy $Refusal "$(FolderNotFull)"
    Return
  ${EndIf}
  StrCpy $0 $Folder "" 3
  !insertmacro FirstOf $1 $0 '<>:"|?*/'
  ${If} $1 != ""
    StrCpy $Refusal "$(FolderBadCharacter)"
    Return
  ${EndIf}
  ; Up to the deepest folder that exists: nothing on the way may be a file.
  StrCpy $1 $Folder
  ${DoUntil} ${FileExists} "$1\*.*"
    ${If} ${FileExists} $1
      StrCpy $Refusal "$(FolderFileInTheWay)"
      Return
    ${EndIf}
    ${GetParent} $1 $1
    ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
  ${Loop}
  ; A file made and deleted there (Wine may name a file it could not make).
  System::Call 'kernel32::GetTempFileNameW(w r1, w "sky", i 0, w .r2) i .r0'
  ${If} $0 = 0
  ${OrIf} $1 == ""
  ${OrIfNot} ${FileExists} $2
    StrCpy $1 $Folder 2
    StrCpy $Refusal "$(FolderNotWritable)"
    Return
  ${EndIf}
  Delete $2
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 != ""
  ${AndIf} $1 != $Folder
  ${AndIf} ${FileExists} "$1\Skyliner.scr"
    StrCpy $Refusal "$(InstalledElsewhere)"
    Return
  ${EndIf}
  ${If} $1 != $Folder
    !insertmacro RefuseIfPresent "Skyliner.scr"
    !insertmacro RefuseIfPresent "Skyliner.dll"
    !insertmacro RefuseIfPresent "Skyliner.data"
    !insertmacro RefuseIfPresent "${UNINSTALLER}"
  ${EndIf}
FunctionEnd

; A silent setup checks all before the first step: a refusal ends it unchanged.
Function .onInit
  ${IfNot} ${Silent}
    Return
  ${EndIf}
  Call RequestedFolder
  Call CheckFolder
  ${If} $Refusal != ""
    SetErrorLevel ${EXIT_FOLDER_REFUSED}
    Quit
  ${EndIf}
  StrCpy $INSTDIR $Folder
  Call WaitForSkyliner
  ${If} $0 != ""
    SetErrorLevel ${EXIT_SKYLINER_RUNS}
    Quit
  ${EndIf}
FunctionEnd

; The folder as typed: NSIS would drop the characters it does not allow.
Function FolderLeave
  ${NSD_GetText} $mui.DirectoryPage.Directory $Folder
  Call CheckFolder
  ${If} $Refusal != ""
    MessageBox MB_OK|MB_ICONSTOP $Refusal
    Abort
  ${EndIf}
  Call WaitForSkyliner
  ${IfThen} $0 != "" ${|} Abort ${|}
FunctionEnd

; Japanese button texts run to the edges of the standard width in faces wider
; than MS P Gothic: the last page's button (インストール(&I)) grows leftwards,
; Back moves with it.
Function GiveButtonsRoom
  ${If} $LANGUAGE = ${LANG_JAPANESE}
    GetDlgItem $0 $HWNDPARENT 1
    Call FifthOfWidth
    IntOp $1 0 - $9
    StrCpy $2 0
    Call MoveEdges
    GetDlgItem $0 $HWNDPARENT 3
    StrCpy $2 $1
    Call MoveEdges
  ${EndIf}
FunctionEnd

Section "${PRODUCT}" ProgramFiles
  SectionIn RO
  ; Started since the folder page, or since a silent setup's first check.
  Call WaitForSkyliner
  ${If} $0 != ""
    SetErrorLevel ${EXIT_SKYLINER_RUNS}
    Abort
  ${EndIf}
  SetOutPath "$INSTDIR"
  ; Skyliner.ini is never shipped, so an upgrade keeps the user's.
  File "${DIST}/Skyliner.scr"
  File "${DIST}/Skyliner.dll"
  File "${DIST}/Skyliner.data"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "UninstallString"
  ${If} $0 == '"$INSTDIR\${OLD_UNINSTALLER}"'
    Delete "$INSTDIR\${OLD_UNINSTALLER}"
  ${EndIf}

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Skyliner.scr,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${ProgramFiles} $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The saver's path as the system's own display settings write it: the short
; form, since the system starts the saver from a command line made of the
; value without quotes.
!macro SaverPath result
  GetFullPathName /SHORT ${result} "$INSTDIR\Skyliner.scr"
!macroend

; Tells the running system whether a screensaver is on, as the display settings do.
!macro TellScreensaverActive on
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i ${on}, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})'
!macroend

; The value for SCRNSAVE.EXE in $0, or empty when there is none to write: the
; saver is missing, or its path keeps a space (a drive without 8.3 names), which
; the system would cut the path at.
Function UsableSaverPath
  !insertmacro SaverPath $0
  !insertmacro FirstOf $1 $0 " "
  ${IfThen} $1 != "" ${|} StrCpy $0 "" ${|}
FunctionEnd

; Sets the installed saver as the user's screensaver and keeps the one it
; replaces, and whether a screensaver was on, for the uninstaller. A repeated
; install keeps the first kept values.
Function MakeItTheScreensaver
  Call UsableSaverPath
  ${IfThen} $0 == "" ${|} Return ${|}
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $1 != $0
  ${AndIf} $1 != "$INSTDIR\Skyliner.scr"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver" $1
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive" $1
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  !insertmacro TellScreensaverActive 1
FunctionEnd

; Where the saver cannot be chosen, the finish page says why instead of offering it.
Function FinishShow
  Call UsableSaverPath
  ${If} $0 == ""
    ${NSD_Uncheck} $mui.FinishPage.Run
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
    !insertmacro SaverPath $0
    ${NSD_SetText} $mui.FinishPage.Text "$(SaverNotChosen)"
  ${EndIf}
FunctionEnd

Function OpenScreensaverSettings
  ExecShell "" "$SYSDIR\control.exe" "desk.cpl,,@screensaver"
FunctionEnd

; A silent install takes the finish page's checked choice.
Function .onInstSuccess
  ${If} ${Silent}
    Call MakeItTheScreensaver
  ${EndIf}
FunctionEnd

; --- The uninstaller: exactly what the setup program put there, never a whole folder.

Function un.onInit
  ${If} ${Silent}
    Call un.WaitForSkyliner
    ${If} $0 != ""
      SetErrorLevel ${EXIT_SKYLINER_RUNS}
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; 「アンインストール元:」 runs to the label's edge in faces wider than MS P Gothic:
; the label takes room from the folder box beside it.
Function un.ConfirmShow
  ${If} $LANGUAGE = ${LANG_JAPANESE}
    StrCpy $0 $mui.UnConfirmPage.DirectoryText
    Call un.FifthOfWidth
    StrCpy $1 0
    StrCpy $2 $9
    Call un.MoveEdges
    StrCpy $0 $mui.UnConfirmPage.Directory
    StrCpy $1 $9
    StrCpy $2 0
    Call un.MoveEdges
  ${EndIf}
FunctionEnd

Function un.ConfirmLeave
  Call un.WaitForSkyliner
  ${IfThen} $0 != "" ${|} Abort ${|}
FunctionEnd

Section "un.$(ProgramSection)" UninstallProgram
  SectionIn RO
  Call un.WaitForSkyliner
  ${If} $0 != ""
    SetErrorLevel ${EXIT_SKYLINER_RUNS}
    Abort
  ${EndIf}
  ; The entry is this copy's (not a later install's elsewhere) when it names this folder.
  ReadRegStr $4 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ; Back to the kept screensaver and its on/off state, but only while the
  ; system still names ours.
  !insertmacro SaverPath $0
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $1 == $0
  ${OrIf} $1 == "$INSTDIR\Skyliner.scr"
    StrCpy $2 ""
    StrCpy $3 0
    ${If} $4 == $INSTDIR
      ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
      ClearErrors
      ReadRegStr $3 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
      ${If} ${Errors}  ; kept by an older setup program: on with a saver, off without
        StrCpy $3 1
        ${IfThen} $2 == "" ${|} StrCpy $3 0 ${|}
      ${EndIf}
    ${EndIf}
    ; No screensaver before: the display settings' own "(None)".
    ${If} $2 == ""
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
    ${EndIf}
    !insertmacro TellScreensaverActive $3
    ${If} $3 == ""
      DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $3
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\Skyliner.scr"
  Delete "$INSTDIR\Skyliner.dll"
  Delete "$INSTDIR\Skyliner.data"
  Delete "$INSTDIR\${UNINSTALLER}"
  ${IfThen} $4 == $INSTDIR ${|} DeleteRegKey HKCU "${UNINSTALL_KEY}" ${|}

  ; The runs' working files: the desktop capture, the two pictures and the model.
  Delete "${WORKING_FOLDER}\${DesktopPictureName}"
  Delete "${WORKING_FOLDER}\${PuffPictureName}"
  Delete "${WORKING_FOLDER}\${SkyPictureName}"
  Delete "${WORKING_FOLDER}\${ModelCopyName}"
  RMDir "${WORKING_FOLDER}"
SectionEnd

; Unticked, and so kept by a silent uninstall.
Section /o "un.$(SettingsSection)" UninstallSettings
  Delete "$INSTDIR\Skyliner.ini"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UninstallProgram} "$(ProgramDescription)"
  !insertmacro MUI_DESCRIPTION_TEXT ${UninstallSettings} "$(SettingsDescription)"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Section "-un.Folder"
  ; Only if empty: the user's own files stay, and so does the folder holding them.
  RMDir "$INSTDIR"
SectionEnd
