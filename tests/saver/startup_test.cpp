#include "startup.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

constexpr char kFolder[] = "C:\\Saver";
constexpr char kDll[] = "C:\\Saver\\Skyliner.dll";
constexpr char kData[] = "C:\\Saver\\Skyliner.data";

// Records every call as one line; answers from the sets and flags below.
class RecordingActions : public StartupActions {
 public:
  std::set<std::string> windows;
  std::set<std::string> files{kDll, kData};
  bool preview_shown = true;
  bool form_loaded = true;
  std::vector<std::string> calls;

  bool WindowExists(const char* title) override {
    calls.push_back(std::string("find ") + title);
    return windows.count(title) != 0;
  }
  bool ShowPreview(int64_t parent_handle) override {
    calls.push_back("preview " + std::to_string(parent_handle));
    return preview_shown;
  }
  void CreateWorkingFolder() override { calls.push_back("mkdir"); }
  void ReadSettings() override { calls.push_back("settings"); }
  bool ProgramFilePresent(const std::string& path) override {
    calls.push_back("exists " + path);
    return files.count(path) != 0;
  }
  void ShowMissingFileMessage(const char* text_utf8) override {
    calls.push_back(std::string("message ") + text_utf8);
  }
  void RunSettingsDialog() override { calls.push_back("dialog"); }
  void HideCursor() override { calls.push_back("hide cursor"); }
  bool StartSaverRun() override {
    calls.push_back("saver form");
    return form_loaded;
  }
};

using Calls = std::vector<std::string>;

const std::string kFindSaver = "find Jetscape_Main";
const std::string kFindDialog = "find <Skyliner>";
const std::string kCheckDll = std::string("exists ") + kDll;
const std::string kCheckData = std::string("exists ") + kData;
const std::string kDllMessage = "message Skyliner.dll が同じﾌｫﾙﾀﾞに見つかりません！";
const std::string kDataMessage = "message Skyliner.data が同じﾌｫﾙﾀﾞに見つかりません！";

Calls Checked(Calls tail) {
  Calls calls{kFindSaver, kFindDialog, "mkdir", "settings", kCheckDll, kCheckData};
  calls.insert(calls.end(), tail.begin(), tail.end());
  return calls;
}

}  // namespace

TEST(Startup, EachArgumentStringMakesItsSequenceOfCalls) {
  const StartupOutcome kEnd = StartupOutcome::kEndProgram;
  const StartupOutcome kRun = StartupOutcome::kRunForms;
  const bool kFails = false;
  const struct {
    const char* arguments;
    StartupOutcome outcome;
    Calls calls;
    bool preview_shown = true, form_loaded = true;
  } cases[] = {
      {"/s", kRun, Checked({"hide cursor", "saver form"})},
      {"/S", kRun, Checked({"hide cursor", "saver form"})},
      {"-s", kRun, Checked({"hide cursor", "saver form"})},
      {"/s", kEnd, Checked({"hide cursor", "saver form"}), true, kFails},
      {"", kRun, Checked({"saver form"})},
      {"/c", kEnd, Checked({"dialog"})},
      {"/c:1234", kEnd, Checked({"dialog"})},
      {"/a 1234", kEnd, Checked({})},
      {"/", kEnd, Checked({})},
      {"/p 1234", kRun, {kFindSaver, kFindDialog, "preview 1234"}},
      {"/P:1234", kRun, {kFindSaver, kFindDialog, "preview 1234"}},
      {"/p", kRun, {kFindSaver, kFindDialog, "preview 0"}},
      {"/p 99", kEnd, {kFindSaver, kFindDialog, "preview 99"}, kFails},  // no such window
  };
  for (const auto& c : cases) {
    RecordingActions actions;
    actions.preview_shown = c.preview_shown;
    actions.form_loaded = c.form_loaded;
    EXPECT_EQ(RunStartup(c.arguments, kFolder, actions), c.outcome) << c.arguments;
    EXPECT_EQ(actions.calls, c.calls) << c.arguments;
  }
}

TEST(Startup, AnotherCopyOnScreenEndsEveryModeAfterBothLookups) {
  for (const char* window : {"Jetscape_Main", "<Skyliner>"}) {
    for (const char* arguments : {"/s", "", "/c", "/p 1234", "/a"}) {
      RecordingActions actions;
      actions.windows = {window};
      EXPECT_EQ(RunStartup(arguments, kFolder, actions), StartupOutcome::kEndProgram) << window << arguments;
      EXPECT_EQ(actions.calls, (Calls{kFindSaver, kFindDialog})) << window << arguments;
    }
  }
}

TEST(Startup, MissingFilesShowOneMessageAndEnd) {
  const struct {
    std::set<std::string> files;
    Calls calls;
  } cases[] = {
      {{kData}, {kFindSaver, kFindDialog, "mkdir", "settings", kCheckDll, kDllMessage}},
      {{kDll}, Checked({kDataMessage})},
      {{}, {kFindSaver, kFindDialog, "mkdir", "settings", kCheckDll, kDllMessage}},
  };
  for (const char* arguments : {"/s", "/c", "/a 1234"}) {
    for (const auto& c : cases) {
      RecordingActions actions;
      actions.files = c.files;
      EXPECT_EQ(RunStartup(arguments, kFolder, actions), StartupOutcome::kEndProgram) << arguments;
      EXPECT_EQ(actions.calls, c.calls) << arguments;
    }
  }
}

TEST(Startup, PathsAppendTheSuffixesToTheFolderAsReported) {
  RecordingActions actions;
  actions.files = {"C:\\\\Skyliner.dll", "C:\\\\Skyliner.data"};
  EXPECT_EQ(RunStartup("/s", "C:\\", actions), StartupOutcome::kRunForms);
}
