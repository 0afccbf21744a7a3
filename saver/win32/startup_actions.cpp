#include "startup_actions.h"

#include <windows.h>

#include "preview_form.h"
#include "profile_store.h"
#include "saver_form.h"
#include "settings_dialog.h"
#include "shell_paths.h"
#include "shell_program.h"
#include "shell_state.h"

bool Win32StartupActions::WindowExists(const char* title) { return FindWindowA(nullptr, title) != nullptr; }

bool Win32StartupActions::ShowPreview(int64_t parent_handle) { return ShowPreviewForm(parent_handle); }

// One level only; an existing folder is the usual failure and is ignored.
void Win32StartupActions::CreateWorkingFolder() { CreateDirectoryA(kWorkingFolder, nullptr); }

void Win32StartupActions::ReadSettings() {
  Win32ProfileStore store;
  shell.settings = LoadSettings(store, shell.program_folder, FileExists);
}

bool Win32StartupActions::ProgramFilePresent(const std::string& path) { return FileExists(path); }

void Win32StartupActions::ShowMissingFileMessage(const char* text_utf8) {
  ShowMessage(text_utf8, kMessageCaption, MB_OK);
}

void Win32StartupActions::RunSettingsDialog() { ShowSettingsDialog(); }

void Win32StartupActions::HideCursor() { shell.saved_cursor_count = ShowCursor(FALSE); }

bool Win32StartupActions::StartSaverRun() {
  MarkRunPhase("start-up checks done");
  return LoadSaverForm();
}
