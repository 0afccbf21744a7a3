#include "ansi_narrowing.h"

#include <gtest/gtest.h>

TEST(NarrowingFor, UtfEightTakesNeitherBestFitFlagNorDefaultPointer) {
  EXPECT_EQ(NarrowingFor(932).flags, kNoBestFitChars);
  EXPECT_TRUE(NarrowingFor(1252).ask_default_used);
  EXPECT_EQ(NarrowingFor(65001).flags, kErrorOnInvalidChars);
  EXPECT_FALSE(NarrowingFor(65001).ask_default_used);
}
