// The sky: a gradient from deep blue overhead to pink at the horizon, with a
// layer of soft clouds seen in perspective.
//
// The picture is wrapped on a sphere whose texture t runs from the zenith
// (t = 0, the file's first row, the picture's bottom) to the nadir, and whose
// s runs once around the horizon. Clouds are computed on a flat cloud deck
// seen from the centre, so the picture joins seamlessly where s wraps and is
// not stretched near the zenith.
#include <algorithm>
#include <cmath>

#include "canvas.h"
#include "noise.h"
#include "pictures.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Clear-sky colour at elevation sin_e (0 at the horizon, 1 overhead).
Rgb SkyGradient(double sin_e) {
  const Rgb zenith{0.20, 0.36, 0.80}, high{0.40, 0.58, 0.93}, horizon{0.98, 0.74, 0.82};
  if (sin_e > 0.45) return Mix(high, zenith, (sin_e - 0.45) / 0.55);
  return Mix(horizon, high, std::pow(sin_e / 0.45, 0.5));
}

}  // namespace

Rgb SkyColour(double dx, double dy, double dz, uint32_t seed) {
  double sin_e = std::fabs(dy);
  Rgb sky = SkyGradient(sin_e);
  double reach = 1.0 / std::max(sin_e, 0.07);  // distance to the cloud deck, capped near the horizon
  double u = dx * reach * 1.1, v = dz * reach * 1.1;
  double density = FractalNoise(u + 3.7, v - 1.3, 6, seed);
  double cover = SmoothStep(0.47, 0.70, density);
  // Light from one side: brighter where the cloud thins towards the sun.
  double toward_sun = FractalNoise(u + 3.7 + 0.08, v - 1.3 + 0.05, 6, seed);
  double lit = std::clamp(0.6 + (density - toward_sun) * 9.0, 0.0, 1.0);
  Rgb shade = Mix(Rgb{0.66, 0.62, 0.78}, Rgb{0.92, 0.72, 0.82}, 1 - sin_e);
  Rgb light = Mix(Rgb{1.0, 0.97, 0.98}, Rgb{1.0, 0.88, 0.90}, 1 - sin_e);
  Rgb cloud = Mix(shade, light, lit);
  double fade = SmoothStep(0.01, 0.16, sin_e);  // clouds melt into the haze at the horizon
  return Mix(sky, cloud, cover * fade * 0.95);
}

Picture MakeSkyPicture() {
  const int size = 512;
  Picture picture(size, size);
  for (int row = 0; row < size; ++row) {
    double t = (size - 1 - row + 0.5) / size;  // texture t of this row
    double elevation = (0.5 - t) * kPi;        // +90 degrees at t = 0
    for (int col = 0; col < size; ++col) {
      double azimuth = 2 * kPi * (col + 0.5) / size;
      double dx = std::cos(elevation) * std::cos(azimuth);
      double dy = std::sin(elevation);
      double dz = std::cos(elevation) * std::sin(azimuth);
      // Below the horizon (hidden by the ground) a second sky, for a picture
      // that also looks right on its own.
      Rgb colour = SkyColour(dx, dy, dz, dy >= 0 ? 7u : 8u);
      BlendPixel(picture, col, row, colour);
    }
  }
  return picture;
}
