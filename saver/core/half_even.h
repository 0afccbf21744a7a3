// Rounding to the nearest whole number with an exact half going to the even
// neighbour, the rule of the shell's number conversions.
#pragma once

#include <cmath>

inline double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}
