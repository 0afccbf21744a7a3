// Deterministic value noise and fractal sums of it, from an integer hash.
#pragma once

#include <cstdint>

// Smooth noise in [0, 1] over the plane, one random value per integer lattice point.
double ValueNoise(double x, double y, uint32_t seed);
// Sum of octaves of value noise, each twice the frequency and half the weight
// of the one before, scaled back to [0, 1].
double FractalNoise(double x, double y, int octaves, uint32_t seed);
double SmoothStep(double edge0, double edge1, double x);
