// Scratch file names for tests. CTest runs tests in parallel processes, so
// each name carries the running test's suite and name to keep them apart.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

inline std::string TestTempPath(const std::string& name) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return ::testing::TempDir() + "skyliner_" + test->test_suite_name() + "_" + test->name() + "_" + name;
}

// Writes bytes as the whole file at path; true if they were written.
inline bool WriteTestFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}
