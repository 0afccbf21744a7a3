#include "rand.h"

#include <cstdint>

namespace {
uint32_t rand_state = 1;
}

void Srand(unsigned int seed) { rand_state = seed; }

int Rand() {
  rand_state = rand_state * 214013u + 2531011u;
  return static_cast<int>((rand_state >> 16) & 0x7fff);
}
