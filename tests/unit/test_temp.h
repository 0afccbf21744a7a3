// Scratch file names for tests. CTest runs tests in parallel processes, so
// each name carries the running test's suite and name to keep them apart.
#pragma once

#include <string>

#include <gtest/gtest.h>

inline std::string TestTempPath(const std::string& name) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return ::testing::TempDir() + "skyliner_" + test->test_suite_name() + "_" + test->name() + "_" + name;
}
