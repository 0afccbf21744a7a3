#include "sky_sphere.h"

#include <cmath>

namespace {

// GLU's own pi; its caches are floats, its angles formed in double.
constexpr double kGluPi = 3.14159265358979323846;

// The sine and cosine of an angle stored as a float, as the platform's GLU
// takes them: Windows' glu32 (Wine's too) in float, Mesa's libGLU in double.
#ifdef _WIN32
using GluTrig = float;
#else
using GluTrig = double;
#endif
GluTrig Sin(float angle) { return std::sin(static_cast<GluTrig>(angle)); }
GluTrig Cos(float angle) { return std::cos(static_cast<GluTrig>(angle)); }

}  // namespace

std::vector<SkyVertex> SphereQuadStrips(double radius, int slices, int stacks) {
  std::vector<SkyVertex> out;
  if (slices < 2 || stacks < 1) return out;
  std::vector<float> sin_slice(slices + 1), cos_slice(slices + 1);
  for (int i = 0; i < slices; ++i) {
    const float angle = static_cast<float>(2 * kGluPi * i / slices);
    sin_slice[i] = static_cast<float>(Sin(angle));
    cos_slice[i] = static_cast<float>(Cos(angle));
  }
  sin_slice[slices] = sin_slice[0];  // the seam closes on the first slice's bits
  cos_slice[slices] = cos_slice[0];

  std::vector<float> sin_stack(stacks + 1), cos_stack(stacks + 1), ring(stacks + 1), height(stacks + 1);
  for (int j = 0; j <= stacks; ++j) {
    const float angle = static_cast<float>(kGluPi * j / stacks);
    sin_stack[j] = static_cast<float>(Sin(angle));
    cos_stack[j] = static_cast<float>(Cos(angle));
    ring[j] = static_cast<float>(radius * Sin(angle));
    height[j] = static_cast<float>(radius * Cos(angle));
  }
  ring[0] = 0;  // the poles come to a point
  ring[stacks] = 0;

  out.reserve(static_cast<size_t>(stacks) * 2 * (slices + 1));
  for (int j = 0; j < stacks; ++j) {
    for (int i = 0; i <= slices; ++i) {
      const GLfloat s = 1 - static_cast<float>(i) / slices;
      for (const int k : {j + 1, j}) {
        out.push_back({s, 1 - static_cast<float>(k) / stacks, sin_slice[i] * sin_stack[k],
                       cos_slice[i] * sin_stack[k], cos_stack[k], ring[k] * sin_slice[i], ring[k] * cos_slice[i],
                       height[k]});
      }
    }
  }
  return out;
}
