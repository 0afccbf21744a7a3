#include "rand.h"

#include <gtest/gtest.h>

TEST(Rand, FirstOutputsFromTheUnseededStateMatchTheRuntime) {
  Srand(1);  // the state a fresh process starts with
  EXPECT_EQ(Rand(), 41);
  EXPECT_EQ(Rand(), 18467);
  EXPECT_EQ(Rand(), 6334);
  EXPECT_EQ(Rand(), 26500);
}

TEST(Rand, SeedingRestartsTheSequenceAndResultsStayInRange) {
  Srand(12345);
  const int first = Rand();
  for (int i = 0; i < 100000; ++i) {
    const int r = Rand();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, kRandMax);
  }
  Srand(12345);
  EXPECT_EQ(Rand(), first);
  Srand(0);
  EXPECT_EQ(Rand(), 38);  // (0 * 214013 + 2531011) >> 16 & 0x7fff
}
