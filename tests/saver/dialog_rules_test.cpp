#include "dialog_rules.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Records every write: (section, key, value, path).
class RecordingStore : public ProfileStore {
 public:
  std::vector<std::tuple<std::string, std::string, std::string, std::string>> writes;

  std::string ReadIniValue(const std::string&, const std::string&, const std::string&) override {
    ADD_FAILURE() << "Set reads nothing";
    return std::string();
  }
  void WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override {
    writes.emplace_back(section, key, value, path);
  }
};

}  // namespace

TEST(DialogBackground, DarkBlueAtTheEdgesAndLavenderInTheMiddle) {
  const std::vector<RowColour> rows = BackgroundRowColours(246);
  ASSERT_EQ(rows.size(), 247u);
  const struct {
    int y;
    int s;
  } cases[] = {{0, 0}, {246, 0}, {123, 220}, {1, 3}, {60, 153}};
  for (const auto& c : cases) {
    EXPECT_EQ(rows[c.y].red, c.s) << c.y;
    EXPECT_EQ(rows[c.y].green, c.s) << c.y;
    EXPECT_EQ(rows[c.y].blue, c.s + 30) << c.y;
  }
  EXPECT_EQ(BackgroundRowColours(10.5).size(), 11u);  // 10.5 rounds to 10: rows 0..10
  EXPECT_EQ(BackgroundRowColours(11.5).size(), 13u);
  EXPECT_TRUE(BackgroundRowColours(0).empty());
  EXPECT_TRUE(BackgroundRowColours(-3).empty());
}

TEST(DialogTiling, CoversColumnByColumnPastTheEdges) {
  const std::vector<TilePosition> expected = {{0, 0},  {0, 20},  {0, 40},  {10, 0},
                                              {10, 20}, {10, 40}, {20, 0}, {20, 20}, {20, 40}};
  EXPECT_EQ(TilePositions(15, 30, 10, 20), expected);
  // The dialog's panel (469 x 165) and strip (556 x 20): 10 copies a column,
  // and the second column starts beyond the edge.
  const std::vector<TilePosition> panel = TilePositions(469, 165, 556, 20);
  ASSERT_EQ(panel.size(), 20u);
  EXPECT_EQ(panel[9], (TilePosition{0, 180}));
  EXPECT_EQ(panel[10], (TilePosition{556, 0}));
  EXPECT_EQ(TilePositions(-1, -1, 5, 5), (std::vector<TilePosition>{{0, 0}}));
  EXPECT_TRUE(TilePositions(100, 100, 0, 20).empty());
  EXPECT_TRUE(TilePositions(100, 100, 20, -1).empty());
  EXPECT_TRUE(TilePositions(32767, 32767, 1, 1).empty());  // too many copies
}

TEST(DialogPlacement, CentredAcrossAndAThirdDown) {
  const int cases[][6] = {
      {15360, 11520, 7470, 4125, 3945, 2465},  // 1024 x 768 screen
      {7471, 4126, 7470, 4125, 0, 0},
      {7000, 4000, 7470, 4125, -235, -41},
  };
  for (const auto& c : cases) {
    const FormPosition position = PlaceDialog(c[0], c[1], c[2], c[3]);
    EXPECT_EQ(position.left, c[4]);
    EXPECT_EQ(position.top, c[5]);
  }
}

TEST(DialogRepeat, RoundsNumbersHalfToEvenAndStoresZeroOtherwise) {
  const struct {
    const char* text;
    int16_t repeat;
  } cases[] = {
      {"2.5", 2},      {"3.5", 4},    {"0.5", 0},      {"-2.5", -2},    {" 7 ", 7},     {"\t+12\t", 12},
      {"2.51", 3},     {"1e1", 10},   {"2.5E+0", 2},   {".5", 0},       {"5.", 5},      {"30", 30},
      {"32767.4", 32767}, {"-32768.5", -32768}, {"32767.5", 0}, {"40000", 0}, {"1e999", 0}, {"", 0},
      {" ", 0},        {".", 0},      {"e3", 0},       {"1e", 0},       {"1 2", 0},     {"abc", 0},
      {"&H10", 0},     {"--1", 0},    {"1,5", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(RepeatFromText(c.text), c.repeat) << '"' << c.text << '"';
  EXPECT_EQ(RepeatText(0), "");
  EXPECT_EQ(RepeatText(5), "5");
  const std::vector<std::string> entries = RepeatComboEntries();
  ASSERT_EQ(entries.size(), 31u);
  EXPECT_EQ(entries[0], "");
  EXPECT_EQ(entries[1], "1");
  EXPECT_EQ(entries[30], "30");
}

TEST(DialogKind, ControlsFollowTheKind) {
  const struct {
    int kind;
    bool marked[3];
    bool repeat;
    bool file;
  } cases[] = {
      {0, {true, false, false}, false, false}, {1, {false, true, false}, true, false},
      {2, {false, false, true}, false, true},  {3, {false, false, false}, false, false},
      {-1, {false, false, false}, false, false},
  };
  for (const auto& c : cases) {
    const KindControls controls = ControlsForKind(c.kind);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(controls.marked[i], c.marked[i]) << c.kind << " mark " << i;
    EXPECT_EQ(controls.repeat_enabled, c.repeat) << c.kind;
    EXPECT_EQ(controls.file_button_enabled, c.file) << c.kind;
  }
}

TEST(DialogSet, WritesKindRepeatFileAndDisplayInOrder) {
  MusicSettings settings;
  settings.kind = 2;
  settings.repeat = 9;
  settings.file = "C:\\Music\\a b.mp3";
  settings.display = kDisplayEveryMonitor;
  RecordingStore store;
  StoreDialogSettings(&settings, "3.5", store, "C:\\Saver");
  const std::string path = "C:\\Saver\\Skyliner.ini";
  const decltype(store.writes) expected = {
      {"Section", "BGM\x8B\xE6\x95\xAA", "2", path},
      {"Section", "BGM\xD8\xCB\xDF\xB0\xC4", "4", path},
      {"Section", "BGM\xCC\xA7\xB2\xD9", "C:\\Music\\a b.mp3", path},
      {"Section", "Display", "1", path},
  };
  EXPECT_EQ(store.writes, expected);
  EXPECT_EQ(settings.repeat, 4);

  settings.kind = 2;
  settings.file.clear();
  settings.display = kDisplayClassic;
  store.writes.clear();
  StoreDialogSettings(&settings, "40000", store, "C:\\Saver");
  ASSERT_EQ(store.writes.size(), 4u);
  EXPECT_EQ(std::get<2>(store.writes[1]), "0");
  EXPECT_EQ(std::get<2>(store.writes[2]), "");
  EXPECT_EQ(std::get<2>(store.writes[3]), "0");
  EXPECT_EQ(settings.repeat, 0);
}

TEST(DialogChooser, FilterTitleAndTheChosenFile) {
  const std::string filter_text = u8"BGMﾌｧｲﾙ (MP3 WAV)";
  EXPECT_EQ(FileChooserFilter(), filter_text + std::string("\0*.MP3;*.WAV\0\0", 14));
  EXPECT_STREQ(kFileChooserTitle, u8"ﾌｧｲﾙを開く");

  MusicSettings settings;
  settings.kind = 0;
  const char chosen[] = "C:\\Music\\song.mp3\0stale";
  ApplyChosenFile(chosen, sizeof chosen, &settings);
  EXPECT_EQ(settings.file, "C:\\Music\\song.mp3");
  EXPECT_EQ(settings.folder, "C:\\Music");
  EXPECT_EQ(settings.kind, 0);  // the kind is not touched
  const char unterminated[4] = {'a', '.', 'm', 'p'};
  ApplyChosenFile(unterminated, sizeof unterminated, &settings);
  EXPECT_EQ(settings.file, "a.mp");
  EXPECT_EQ(settings.folder, "");
}

TEST(ElideMiddle, KeepsTheStartAndTheEndAroundThreeDots) {
  const std::wstring path = L"C:\\Program Files\\Skyliner";  // 25 characters
  const std::wstring cases[] = {path, L"C:\\Program...es\\Skyliner", L"C:\\...iner", L"...r", L"..."};
  const size_t rooms[] = {25, 24, 10, 4, 2};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(ElideMiddle(path, [&](const std::wstring& text) { return text.size() <= rooms[i]; }), cases[i]);
  }
}
