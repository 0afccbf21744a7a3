// The settings dialog's rules without a window: its background, the tiling of
// the metal strip, its placement, the controls that follow the music kind and
// what Set stores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings.h"
#include "ui_texts.h"

struct RowColour {
  uint8_t red, green, blue;
};

// The background's colour for each pixel row y = 0 .. round(height), inclusive:
// s = |sin(y / k)| x 220 with k = height / 3.142, rounded (halves to even);
// colour (s, s, s + 30). Empty for a height that is not positive.
std::vector<RowColour> BackgroundRowColours(double height);

struct TilePosition {
  int x, y;
  bool operator==(const TilePosition& other) const { return x == other.x && y == other.y; }
};

// Where the strip (strip_w x strip_h) is copied to cover a target of
// target_w x target_h, column by column: down a column until a copy starts
// below the target, then the next column, until a column starts beyond its
// right edge. Empty for a strip without area or more copies than kMaxTileCopies.
std::vector<TilePosition> TilePositions(int target_w, int target_h, int strip_w, int strip_h);
constexpr long long kMaxTileCopies = 1 << 20;

struct FormPosition {
  int left, top;
};
// Centred across and a third of the free height down; twips, remainders dropped.
FormPosition PlaceDialog(int screen_w, int screen_h, int form_w, int form_h);

// The text shortened until fits() accepts it: "..." stands in for as few of
// its middle characters as need to go, the end keeping the odd one (a path's
// last name tells most). The text itself when it fits; "..." when nothing does.
std::wstring ElideMiddle(const std::wstring& text, const std::function<bool(const std::wstring&)>& fits);

// The repeat text as Set stores it: a number (blanks around it, a sign, a
// decimal point and an exponent allowed) rounded to the nearest whole number,
// halves to even; 0 for anything else and for a result outside the 16-bit range.
int16_t RepeatFromText(const std::string& text);
// The repeat text the dialog shows: empty for 0 (the whole disc).
std::string RepeatText(int16_t repeat);
// The combo box's list: "" then "1" .. "30".
std::vector<std::string> RepeatComboEntries();

// The controls that follow the music kind. A kind outside 0..2 marks nothing.
struct KindControls {
  bool marked[3];
  bool repeat_enabled;       // BGM_Repeat
  bool file_button_enabled;  // Cmd_File
};
KindControls ControlsForKind(int kind);

// The file chooser's texts, in UTF-8 like every UI text: the filter is one
// description (the language's, "BGMﾌｧｲﾙ (MP3 WAV)" in Japanese) and its
// pattern, each NUL-ended, then a closing NUL.
std::string FileChooserFilter(const UiTexts& texts = kJapaneseTexts);
constexpr char kFileChooserTitle[] = "\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99\xE3\x82\x92\xE9\x96\x8B\xE3\x81\x8F";  // "ﾌｧｲﾙを開く", UTF-8
constexpr size_t kFileChooserBufferSize = 255;  // NULs in each buffer, also its maximum length

// After the chooser accepted a file: BgmFile becomes the buffer up to its first
// NUL (or its end), BgmFolder that file's folder, where the chooser opens next.
void ApplyChosenFile(const char* buffer, size_t size, MusicSettings* settings);

// Set: stores the kind, the repeat taken from repeat_text (which also becomes
// settings->repeat), the file and the display way, in that order, in the
// settings file beside the program.
void StoreDialogSettings(MusicSettings* settings, const std::string& repeat_text, ProfileStore& store,
                         const std::string& program_folder);
