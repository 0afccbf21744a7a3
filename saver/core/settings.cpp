#include "settings.h"

#include <cmath>

#include "shell_args.h"
#include "shell_paths.h"

void ReadSettingsNumber(const std::string& text, int16_t* value) {
  if (text.empty()) {
    *value = 0;
    return;
  }
  double number = 0;
  if (!ReadWholeNumber(text, &number)) return;
  const double whole = std::floor(number);
  if (whole >= -32768.0 && whole <= 32767.0) *value = static_cast<int16_t>(whole);
}

MusicSettings LoadSettings(ProfileStore& store, const std::string& program_folder,
                           const std::function<bool(const std::string&)>& file_exists) {
  const std::string path = program_folder + kSettingsSuffix;
  MusicSettings settings;
  ReadSettingsNumber(store.ReadIniValue(kSettingsSection, kKeyBgmKind, path), &settings.kind);
  ReadSettingsNumber(store.ReadIniValue(kSettingsSection, kKeyBgmRepeat, path), &settings.repeat);
  settings.file = store.ReadIniValue(kSettingsSection, kKeyBgmFile, path);
  // A file that cannot be opened is forgotten; only the file kind depends on it.
  if (!settings.file.empty() && !file_exists(settings.file)) settings.file.clear();
  if (settings.file.empty() && settings.kind == kBgmFileKind) settings.kind = kBgmNone;
  settings.folder = settings.file.empty() ? program_folder : FolderOf(settings.file);
  // An old file has no such key; it keeps the classic run, as does any value but 1.
  int16_t display = kDisplayClassic;
  ReadSettingsNumber(store.ReadIniValue(kSettingsSection, kKeyDisplay, path), &display);
  settings.display = display == kDisplayEveryMonitor ? kDisplayEveryMonitor : kDisplayClassic;
  return settings;
}
