; Skyliner's setup program. Per user, no administrator rights: the shell keeps
; Skyliner.ini beside itself, and a folder of the user's own keeps it writable.
; makensis is given VERSION, DIST (the three files), ICON, OUTFILE and the
; working folder's names from contract/working_files.h (WorkingFolderName,
; DesktopPictureName, PuffPictureName, SkyPictureName, ModelCopyName).
Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; No build time in the program, so two builds of one commit can match.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh

!define PRODUCT "Skyliner"
!define PUBLISHER "The Skyliner authors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define DESKTOP_KEY "Control Panel\Desktop"
!define UNINSTALLER "Uninstall.exe"
!define WORKING_FOLDER "C:\${WorkingFolderName}"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An upgrade goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
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
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The setup program takes the system's language where it is one of these.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

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

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) the ${PRODUCT} authors"

Section "${PRODUCT}" ProgramFiles
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; Skyliner.ini is never shipped, so an upgrade keeps the user's.
  File "${DIST}/Skyliner.scr"
  File "${DIST}/Skyliner.dll"
  File "${DIST}/Skyliner.data"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

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

; Sets the installed saver as the user's screensaver and keeps the one it
; replaces for the uninstaller. A repeated install keeps the first kept value.
Function MakeItTheScreensaver
  !insertmacro SaverPath $0
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $1 != $0
  ${AndIf} $1 != "$INSTDIR\Skyliner.scr"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver" $1
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  !insertmacro TellScreensaverActive 1
FunctionEnd

Function OpenScreensaverSettings
  ExecShell "" "control.exe" "desk.cpl,,@screensaver"
FunctionEnd

; A silent install takes the finish page's checked choice.
Function .onInstSuccess
  ${If} ${Silent}
    Call MakeItTheScreensaver
  ${EndIf}
FunctionEnd

; --- The uninstaller: exactly what the setup program put there, never a whole folder.

Section "un.$(ProgramSection)" UninstallProgram
  SectionIn RO
  ; Back to the kept screensaver, but only while the system still names ours.
  !insertmacro SaverPath $0
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $1 == $0
  ${OrIf} $1 == "$INSTDIR\Skyliner.scr"
    ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${If} $2 == ""
      ; No screensaver before: the display settings' own "(None)".
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      !insertmacro TellScreensaverActive 0
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\Skyliner.scr"
  Delete "$INSTDIR\Skyliner.dll"
  Delete "$INSTDIR\Skyliner.data"
  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

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
