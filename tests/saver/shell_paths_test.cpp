#include "shell_paths.h"

#include <gtest/gtest.h>

TEST(FolderOf, TakesEverythingBeforeTheLastSeparator) {
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\Music\\song.mp3", "C:\\Music"},
      {"C:\\song.mp3", "C:"},
      {"C:song.mp3", "C:"},
      {"song.mp3", ""},
      {"", ""},
      {"C:\\Music\\", "C:\\Music"},
      {"C:\\Music\\\\", "C:\\Music\\"},  // only one trailing separator is dropped
      {"\\\\host\\share\\a.wav", "\\\\host\\share"},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
}

TEST(OpenableFolder, ABareDriveGetsItsRootBack) {
  const char* cases[][2] = {{"C:", "C:\\"}, {"z:", "z:\\"}, {"C:\\Music", "C:\\Music"}, {"", ""}, {"1:", "1:"}};
  for (const auto& c : cases) EXPECT_EQ(OpenableFolder(c[0]), c[1]) << c[0];
}
