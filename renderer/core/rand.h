// The C runtime's rand()/srand() rule, reproduced so that the flight's start
// values are the same on every platform and compiler.
#pragma once

constexpr int kRandMax = 32767;

// Sets the generator's state; the state is 1 until this is called.
void Srand(unsigned int seed);

// Advances the state (x 214013 + 2531011, mod 2^32) and returns its bits 16..30.
int Rand();
