#include "noise.h"

#include <algorithm>
#include <cmath>

// Mixes a lattice point and seed into 32 well-scrambled bits.
static uint32_t HashPoint(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^ static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

// The lattice value at (x, y), in [0, 1].
static double LatticeValue(int32_t x, int32_t y, uint32_t seed) {
  return (HashPoint(x, y, seed) >> 8) / 16777215.0;
}

// Quintic fade: zero first and second derivatives at 0 and 1.
static double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

double ValueNoise(double x, double y, uint32_t seed) {
  double fx = std::floor(x), fy = std::floor(y);
  int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  double tx = Fade(x - fx), ty = Fade(y - fy);
  double a = LatticeValue(ix, iy, seed), b = LatticeValue(ix + 1, iy, seed);
  double c = LatticeValue(ix, iy + 1, seed), d = LatticeValue(ix + 1, iy + 1, seed);
  double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double FractalNoise(double x, double y, int octaves, uint32_t seed) {
  double sum = 0, weight = 1, total = 0;
  for (int k = 0; k < octaves; ++k) {
    sum += ValueNoise(x, y, seed + static_cast<uint32_t>(k) * 101u) * weight;
    total += weight;
    weight *= 0.5;
    // Rotate a little between octaves so the lattice does not show.
    double rx = x * 1.6 - y * 1.2, ry = x * 1.2 + y * 1.6;
    x = rx + 17.3;
    y = ry + 9.1;
  }
  return sum / total;
}

double SmoothStep(double edge0, double edge1, double x) {
  double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}
