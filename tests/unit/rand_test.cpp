#include "rand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

TEST(Rand, FirstOutputsFromTheUnseededStateMatchTheRuntime) {
  Srand(1);  // the state a fresh process starts with
  EXPECT_EQ(Rand(), 41);
  EXPECT_EQ(Rand(), 18467);
  EXPECT_EQ(Rand(), 6334);
  EXPECT_EQ(Rand(), 26500);
}

// The rule written arithmetically: state x 214013 + 2531011 modulo 2^32, the
// result bits 16 to 30 of the new state.
int NextReference(uint64_t* state) {
  *state = (*state * 214013 + 2531011) % 4294967296u;
  return static_cast<int>(*state / 65536 % 32768);
}

TEST(Rand, SeedingRestartsTheSequenceThatFollowsTheRuleOverTheWholeRange) {
  Srand(12345);
  uint64_t state = 12345;
  int lowest = kRandMax, highest = 0;
  for (int i = 0; i < 100000; ++i) {
    const int r = Rand();
    ASSERT_EQ(r, NextReference(&state)) << "draw " << i;
    lowest = std::min(lowest, r);
    highest = std::max(highest, r);
  }
  // Every one of the 15 bits takes part: the draws reach both ends of 0..kRandMax.
  EXPECT_LT(lowest, 16);
  EXPECT_GT(highest, kRandMax - 16);
  Srand(12345);
  state = 12345;
  EXPECT_EQ(Rand(), NextReference(&state));
  Srand(0);
  EXPECT_EQ(Rand(), 38);  // (0 * 214013 + 2531011) >> 16 & 0x7fff
}
