#include "settings.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

constexpr char kFolder[] = "C:\\Saver";

// Values by key; every read must name the section and the file beside the program.
class FakeStore : public ProfileStore {
 public:
  std::map<std::string, std::string> values;
  int reads = 0;

  std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& path) override {
    ++reads;
    EXPECT_EQ(section, "Section");
    EXPECT_EQ(path, "C:\\Saver\\Skyliner.ini");
    const auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
  }
  void WriteIniValue(const std::string&, const std::string&, const std::string&, const std::string&) override {
    ADD_FAILURE() << "loading writes nothing";
  }
};

}  // namespace

TEST(ReadSettingsNumber, FloorsNumbersInRangeAndKeepsTheValueOtherwise) {
  const struct {
    const char* text;
    int16_t result;  // from a value of 99 before the read
  } cases[] = {
      {"", 0},         {"7", 7},          {"2.7", 2},       {"2.9", 2},         {"-0.5", -1},
      {" 5 ", 5},      {"3", 3},          {"32767", 32767}, {"-32768", -32768}, {"32767.9", 32767},
      {"40000", 99},   {"32768", 99},     {"-32768.5", 99}, {"1e2", 100},      {"1e9", 99},        {"abc", 99},
      {"12abc", 99},   {"&H10", 99},      {"0x10", 99},     {"   ", 99},        {"1 2", 99},
  };
  for (const auto& c : cases) {
    int16_t value = 99;
    ReadSettingsNumber(c.text, &value);
    EXPECT_EQ(value, c.result) << '"' << c.text << '"';
  }
}

TEST(LoadSettings, AppliesTheFallbacksOfEachKey) {
  const char* kMissing = nullptr;  // the key is not in the file
  const struct {
    const char* kind;
    const char* repeat;
    const char* file;
    bool file_exists;
    int16_t expected_kind;
    int16_t expected_repeat;
    const char* expected_file;
    const char* expected_folder;
  } cases[] = {
      {kMissing, kMissing, kMissing, false, 0, 0, "", kFolder},
      {"2", "0", "C:\\Music\\song.mp3", true, 2, 0, "C:\\Music\\song.mp3", "C:\\Music"},
      {"2", "0", "C:\\Music\\gone.mp3", false, 0, 0, "", kFolder},
      {"2", "0", "", false, 0, 0, "", kFolder},
      {"2", "0", kMissing, false, 0, 0, "", kFolder},
      {"1", "3", "C:\\Music\\song.wav", true, 1, 3, "C:\\Music\\song.wav", "C:\\Music"},
      {"1", "3", "C:\\Music\\gone.wav", false, 1, 3, "", kFolder},
      {"7", "", "C:\\gone.mp3", false, 7, 0, "", kFolder},
      {"abc", "40000", kMissing, false, 0, 0, "", kFolder},
      {"", "", "", false, 0, 0, "", kFolder},
      {"2.7", " 5 ", "C:song.mp3", true, 2, 5, "C:song.mp3", "C:"},
  };
  for (const auto& c : cases) {
    FakeStore store;
    if (c.kind) store.values[kKeyBgmKind] = c.kind;
    if (c.repeat) store.values[kKeyBgmRepeat] = c.repeat;
    if (c.file) store.values[kKeyBgmFile] = c.file;
    std::set<std::string> asked;
    const MusicSettings settings = LoadSettings(store, kFolder, [&](const std::string& path) {
      asked.insert(path);
      return c.file_exists;
    });
    const std::string label = std::string(c.kind ? c.kind : "-") + "/" + (c.file ? c.file : "-");
    EXPECT_EQ(store.reads, 4) << label;
    EXPECT_EQ(settings.kind, c.expected_kind) << label;
    EXPECT_EQ(settings.repeat, c.expected_repeat) << label;
    EXPECT_EQ(settings.file, c.expected_file) << label;
    EXPECT_EQ(settings.folder, c.expected_folder) << label;
    // Only a named file is looked for.
    EXPECT_EQ(asked, c.file && *c.file ? std::set<std::string>{c.file} : std::set<std::string>{}) << label;
  }
}

TEST(LoadSettings, ReadsTheDisplayWayAsClassicUnlessItIsOne) {
  const struct {
    const char* text;  // null: the key is not in the file
    int16_t expected;
  } cases[] = {{nullptr, kDisplayClassic}, {"0", kDisplayClassic}, {"1", kDisplayEveryMonitor},
               {"1.5", kDisplayEveryMonitor}, {"2", kDisplayClassic}, {"-1", kDisplayClassic},
               {"abc", kDisplayClassic}, {"", kDisplayClassic}, {"99999", kDisplayClassic}};
  for (const auto& c : cases) {
    FakeStore store;
    if (c.text) store.values[kKeyDisplay] = c.text;
    EXPECT_EQ(LoadSettings(store, kFolder, [](const std::string&) { return false; }).display, c.expected)
        << (c.text ? c.text : "(absent)");
  }
}
