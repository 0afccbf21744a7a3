// The shell's Windows layer under Wine: the file-exists test, the program
// folder, the settings file's bytes and the renderer's two-step start.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "profile_store.h"
#include "renderer_launch.h"
#include "settings.h"
#include "shell_paths.h"
#include "shell_program.h"
#include "shell_state.h"
#include "startup_actions.h"
#include "text_encoding.h"

namespace {

// A scratch folder of its own for each test, removed with everything in it.
class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::string(temp) + "skyliner_win32_" + std::to_string(GetCurrentProcessId()) + "_" +
              info->test_suite_name() + "_" + info->name();
    for (char& c : folder_)
      if (c == '/') c = '_';
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
  }
  void TearDown() override {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  // Writes the bytes to a file in the scratch folder and returns its path.
  std::string WriteScratchFile(const std::string& name, const std::string& bytes) {
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return path;
  }
  // The path of a name in the scratch folder, deleted at the end of the test.
  std::string Path(const std::string& name) {
    files_.push_back(folder_ + "\\" + name);
    return files_.back();
  }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::string folder_;
  std::vector<std::string> files_;
};

// Under the process's ANSI code page (the Wine checks run it under 932, 1252
// and 65001): a path narrows to that code page's bytes, or is refused.
TEST(NarrowToAnsiTest, TakesWhatTheCodePageHoldsAndRefusesTheRest) {
  const char* kRefused = "(refused)";
  const struct {
    const wchar_t* wide;
    const char* narrow[3];  // 932, 1252, 65001
  } cases[] = {
      {L"C:\\\u66f2.mp3", {"C:\\\x8b\xc8.mp3", kRefused, "C:\\\xe6\x9b\xb2.mp3"}},
      {L"C:\\caf\u00e9.wav", {kRefused, "C:\\caf\xe9.wav", "C:\\caf\xc3\xa9.wav"}},
      {L"C:\\\xd800.wav", {kRefused, kRefused, kRefused}},              // a lone surrogate
  };
  const UINT code_page = GetACP();
  const int column = code_page == 932 ? 0 : code_page == 1252 ? 1 : 2;
  std::printf("ANSI code page %u\n", code_page);
  for (const auto& c : cases) {
    std::string narrow;
    EXPECT_EQ(NarrowToAnsi(c.wide, &narrow) ? narrow : kRefused, c.narrow[column]) << code_page;
  }
}

using FileExistsTest = ScratchFolder;

TEST_F(FileExistsTest, TrueOnlyForAReadableFile) {
  const std::string file = WriteScratchFile("song.mp3", "ID3");
  const std::string empty_file = WriteScratchFile("empty.wav", "");
  const struct {
    std::string path;
    bool exists;
  } cases[] = {
      {file, true},
      {file + "\\", true},  // one trailing backslash is dropped
      {file + "\\\\", false},
      {empty_file, true},
      {folder_, false},
      {folder_ + "\\", false},
      {"", false},
      {"\\", false},
      {folder_ + "\\missing.mp3", false},
      {folder_ + "\\nowhere\\song.mp3", false},
      {file + std::string(1, '\0') + "tail", false},
  };
  for (const auto& c : cases) EXPECT_EQ(FileExists(c.path), c.exists) << c.path;
}

// A file held without sharing cannot be read; the check itself holds nothing
// open, or the delete would fail.
TEST_F(FileExistsTest, FalseForAFileHeldWithoutSharingAndLeavesTheFileFree) {
  const std::string file = WriteScratchFile("held.wav", "RIFF");
  const HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FileExists(file));
  CloseHandle(held);
  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(DeleteFileA(file.c_str()));
}

TEST(ProgramFolderTest, IsTheFolderOfTheRunningProgram) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_TRUE(FileExists(folder + "\\saver_win32_test.exe")) << folder;
}

using ProfileStoreTest = ScratchFolder;

TEST_F(ProfileStoreTest, WritesTheSectionAndTheCp932KeysInOrderAndReadsThemBack) {
  const std::string path = Path("Skyliner.ini");
  Win32ProfileStore store;
  store.WriteIniValue(kSettingsSection, kKeyBgmKind, "0", path);
  store.WriteIniValue(kSettingsSection, kKeyBgmRepeat, "0", path);
  store.WriteIniValue(kSettingsSection, kKeyBgmFile, "", path);
  EXPECT_EQ(ReadBytes(path),
            "[Section]\r\n"
            "BGM\x8B\xE6\x95\xAA=0\r\n"
            "BGM\xD8\xCB\xDF\xB0\xC4=0\r\n"
            "BGM\xCC\xA7\xB2\xD9=\r\n");
  store.WriteIniValue(kSettingsSection, kKeyBgmRepeat, "12", path);
  store.WriteIniValue(kSettingsSection, kKeyBgmFile, "C:\\Music\\My Song.mp3", path);
  const struct {
    const char *section, *key, *value;
  } cases[] = {
      {kSettingsSection, kKeyBgmKind, "0"},
      {kSettingsSection, kKeyBgmRepeat, "12"},
      {kSettingsSection, kKeyBgmFile, "C:\\Music\\My Song.mp3"},
      {kSettingsSection, "BGM", ""},
      {"Other", kKeyBgmKind, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(store.ReadIniValue(c.section, c.key, path), c.value) << c.key;
}

TEST_F(ProfileStoreTest, MissingFileReadsEmpty) {
  Win32ProfileStore store;
  EXPECT_EQ(store.ReadIniValue(kSettingsSection, kKeyBgmKind, folder_ + "\\none.ini"), "");
}

TEST_F(ProfileStoreTest, LongValueIsCutTo255Bytes) {
  const std::string long_value(300, 'a');
  const std::string path = WriteScratchFile("long.ini", "[Section]\r\nBGM\xCC\xA7\xB2\xD9=" + long_value + "\r\n");
  Win32ProfileStore store;
  EXPECT_EQ(store.ReadIniValue(kSettingsSection, kKeyBgmFile, path), long_value.substr(0, 255));
}

using StartupActionsTest = ScratchFolder;

TEST_F(StartupActionsTest, WindowExistsLooksUpTheExactTitle) {
  const HWND window = CreateWindowExA(0, "STATIC", "Jetscape_Main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  Win32StartupActions actions;
  EXPECT_TRUE(actions.WindowExists("Jetscape_Main"));
  EXPECT_FALSE(actions.WindowExists("Jetscape_Mai"));
  EXPECT_FALSE(actions.WindowExists("<Skyliner>"));
  DestroyWindow(window);
  EXPECT_FALSE(actions.WindowExists("Jetscape_Main"));
}

TEST_F(StartupActionsTest, LoadSettingsFillsTheSharedStateFromTheProgramFolder) {
  const std::string song = WriteScratchFile("tune.wav", "RIFF");
  WriteScratchFile("Skyliner.ini", "[Section]\r\n" + std::string(kKeyBgmKind) + "=2\r\n" + kKeyBgmRepeat +
                                       "=5\r\n" + kKeyBgmFile + "=" + song + "\r\n");
  shell.program_folder = folder_;
  Win32StartupActions actions;
  actions.ReadSettings();
  EXPECT_EQ(shell.settings.kind, 2);
  EXPECT_EQ(shell.settings.repeat, 5);
  EXPECT_EQ(shell.settings.file, song);
  EXPECT_EQ(shell.settings.folder, folder_);
  shell = ShellState();
}

TEST(StartupActionsCursorTest, HideCursorKeepsTheDisplayCounter) {
  const int before = ShowCursor(TRUE) - 1;
  ShowCursor(FALSE);
  Win32StartupActions actions;
  actions.HideCursor();
  EXPECT_EQ(shell.saved_cursor_count, before - 1);
  ShowCursor(TRUE);
  shell = ShellState();
}

TEST(StartupActionsFolderTest, CreatesTheWorkingFolderAndToleratesItExisting) {
  Win32StartupActions actions;
  actions.CreateWorkingFolder();
  actions.CreateWorkingFolder();
  const DWORD attributes = GetFileAttributesA(kWorkingFolder);
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A program made suspended runs once started; one that cannot be made gives no process.
TEST(RendererLaunchTest, StartsWhatPrepareMadeAndNothingForAMissingProgram) {
  char system[MAX_PATH] = {};
  ASSERT_NE(GetSystemDirectoryA(system, MAX_PATH), 0u);
  const struct {
    std::string path;
    bool runs;
  } cases[] = {{std::string(system) + "\\hostname.exe", true}, {"C:\\nowhere\\Skyliner.dll", false}};
  for (const auto& c : cases) {
    RendererLaunch launch;
    launch.Prepare(c.path);
    const HANDLE process = launch.Start();
    ASSERT_EQ(process != nullptr, c.runs) << c.path;
    if (!process) continue;
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0) << c.path << " did not run to its end";
    CloseHandle(process);
  }
}

}  // namespace
