// A small 3-component vector for building the model's geometry.
#pragma once

#include <cmath>

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
// Unit vector along a; a zero vector stays zero.
inline Vec3 Normalized(Vec3 a) {
  double len = Length(a);
  return len > 0 ? a * (1.0 / len) : a;
}
inline Vec3 Lerp(Vec3 a, Vec3 b, double t) { return a + (b - a) * t; }
