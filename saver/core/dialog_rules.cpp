#include "dialog_rules.h"

#include <cmath>

#include "half_even.h"
#include "shell_args.h"
#include "shell_paths.h"

std::vector<RowColour> BackgroundRowColours(double height) {
  std::vector<RowColour> rows;
  if (!(height > 0) || height > 1e6) return rows;
  const double k = height / 3.142;
  const int last = static_cast<int>(RoundHalfEven(height));
  rows.reserve(static_cast<size_t>(last) + 1);
  for (int y = 0; y <= last; ++y) {
    const int s = static_cast<int>(RoundHalfEven(std::fabs(std::sin(y / k)) * 220));
    rows.push_back({static_cast<uint8_t>(s), static_cast<uint8_t>(s), static_cast<uint8_t>(s + 30)});
  }
  return rows;
}

namespace {

// Copies in one column (or columns across): the start 0 and every further
// start up to and including the first beyond the extent.
long long StartsUntilBeyond(long long extent, long long step) { return extent >= 0 ? extent / step + 2 : 1; }

}  // namespace

std::vector<TilePosition> TilePositions(int target_w, int target_h, int strip_w, int strip_h) {
  std::vector<TilePosition> positions;
  if (strip_w <= 0 || strip_h <= 0) return positions;  // would never leave the first column
  const long long count = StartsUntilBeyond(target_w, strip_w) * StartsUntilBeyond(target_h, strip_h);
  if (count > kMaxTileCopies) return positions;
  positions.reserve(static_cast<size_t>(count));
  long long x = 0;
  long long y = 0;
  for (;;) {
    positions.push_back({static_cast<int>(x), static_cast<int>(y)});
    if (!(y > target_h)) {
      y += strip_h;
    } else if (x > target_w) {
      break;
    } else {
      x += strip_w;
      y = 0;
    }
  }
  return positions;
}

FormPosition PlaceDialog(int screen_w, int screen_h, int form_w, int form_h) {
  const long long free_w = static_cast<long long>(screen_w) - form_w;
  const long long free_h = static_cast<long long>(screen_h) - form_h;
  return {static_cast<int>(free_w / 2), static_cast<int>(free_h / 3)};
}

std::wstring ElideMiddle(const std::wstring& text, const std::function<bool(const std::wstring&)>& fits) {
  if (fits(text)) return text;
  const auto kept = [&text](size_t count) {
    const size_t head = count / 2;
    return text.substr(0, head) + L"..." + text.substr(text.size() - (count - head));
  };
  size_t low = 0, high = text.size();  // kept(low) is the answer unless a longer one fits
  while (high - low > 1) {
    const size_t middle = low + (high - low) / 2;
    if (fits(kept(middle))) low = middle; else high = middle;
  }
  return kept(low);
}

int16_t RepeatFromText(const std::string& text) {
  double value = 0;
  if (!ReadWholeNumber(text, &value)) return 0;
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -32768 && rounded <= 32767)) return 0;  // the 16-bit variable cannot hold it
  return static_cast<int16_t>(rounded);
}

std::string RepeatText(int16_t repeat) { return repeat == 0 ? std::string() : std::to_string(repeat); }

std::vector<std::string> RepeatComboEntries() {
  std::vector<std::string> entries(1);
  for (int track = 1; track <= 30; ++track) entries.push_back(std::to_string(track));
  return entries;
}

KindControls ControlsForKind(int kind) {
  KindControls controls = {{kind == 0, kind == 1, kind == 2}, kind == kBgmCd, kind == kBgmFileKind};
  return controls;
}

std::string FileChooserFilter(const UiTexts& texts) {
  static const char kPattern[] = "*.MP3;*.WAV\0";
  // The pattern literal's own NUL closes the list.
  return texts.chooser_filter_name + std::string(1, '\0') + std::string(kPattern, sizeof kPattern);
}

void ApplyChosenFile(const char* buffer, size_t size, MusicSettings* settings) {
  size_t length = 0;
  while (length < size && buffer[length] != '\0') ++length;
  settings->file.assign(buffer, length);
  settings->folder = FolderOf(settings->file);
}

void StoreDialogSettings(MusicSettings* settings, const std::string& repeat_text, ProfileStore& store,
                         const std::string& program_folder) {
  const std::string path = program_folder + kSettingsSuffix;
  store.WriteIniValue(kSettingsSection, kKeyBgmKind, std::to_string(settings->kind), path);
  settings->repeat = RepeatFromText(repeat_text);
  store.WriteIniValue(kSettingsSection, kKeyBgmRepeat, std::to_string(settings->repeat), path);
  store.WriteIniValue(kSettingsSection, kKeyBgmFile, settings->file, path);
  store.WriteIniValue(kSettingsSection, kKeyDisplay, std::to_string(settings->display), path);
}
