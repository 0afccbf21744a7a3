// Scratch files for tests, always inside a folder made fresh by mkdtemp: a
// fixed name in the shared temporary folder could be another user's link.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include <gtest/gtest.h>

// A fresh empty temporary folder, removed with all it holds; path() is empty if it could not be made.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "skyliner-test-XXXXXX").string();
    if (mkdtemp(&pattern[0])) path_ = pattern;
  }
  ~ScratchFolder() { if (!path_.empty()) std::filesystem::remove_all(path_, ignored_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::error_code ignored_;
};

// The test program's own scratch folder, removed at exit.
inline const ScratchFolder& ProgramScratchFolder() {
  static ScratchFolder folder;
  return folder;
}

// A scratch file name there; CTest's parallel processes each have a folder, the test's name parts one's tests.
inline std::string TestTempPath(const std::string& name) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return ProgramScratchFolder() / (std::string(test->test_suite_name()) + "_" + test->name() + "_" + name);
}

// Writes bytes as the whole file at path; true if they were written.
inline bool WriteTestFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}
