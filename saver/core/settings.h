// The music settings in Skyliner.ini: key names, the number rule and LoadSettings.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The profile functions, so the rules can be checked without a settings file.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The value's text up to its first NUL, at most 255 bytes; empty when the
  // file, section or key is missing.
  virtual std::string ReadIniValue(const std::string& section, const std::string& key,
                                   const std::string& path) = 0;
  // Writes one value; a failure is not reported.
  virtual void WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                             const std::string& path) = 0;
};

// The section and the three keys, as their code page 932 bytes whatever the
// system's code page: "BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ".
constexpr char kSettingsSection[] = "Section";
constexpr char kKeyBgmKind[] = "BGM\x8B\xE6\x95\xAA";
constexpr char kKeyBgmRepeat[] = "BGM\xD8\xCB\xDF\xB0\xC4";
constexpr char kKeyBgmFile[] = "BGM\xCC\xA7\xB2\xD9";
// The fourth key, plain ASCII: how the flight takes the screens.
constexpr char kKeyDisplay[] = "Display";

// The music kinds stored under kKeyBgmKind.
constexpr int16_t kBgmNone = 0;
constexpr int16_t kBgmCd = 1;
constexpr int16_t kBgmFileKind = 2;

// The display ways stored under kKeyDisplay. Classic switches the primary
// monitor to 1024 x 768 and covers the others; every-monitor changes no mode
// and flies over the whole desktop.
constexpr int16_t kDisplayClassic = 0;
constexpr int16_t kDisplayEveryMonitor = 1;

struct MusicSettings {
  int16_t kind = 0;     // BgmKind
  int16_t repeat = 0;   // BgmRepeat: the CD track to repeat, 0 for the whole disc
  std::string file;     // BgmFile: emptied when it cannot be opened
  std::string folder;   // BgmFolder: where the file chooser opens
  int16_t display = kDisplayClassic;  // Display: anything but 1 reads as classic
};

// Applies a stored number to *value: empty text gives 0; a number (blanks
// around it and a fraction allowed) is floored and stored when it lies in
// -32768..32767; anything else leaves *value as it was.
void ReadSettingsNumber(const std::string& text, int16_t* value);

// Fills the settings from the file beside the program, whose folder is given.
MusicSettings LoadSettings(ProfileStore& store, const std::string& program_folder,
                           const std::function<bool(const std::string&)>& file_exists);
