// The puff: a soft white cloudlet on black.
#include <cmath>

#include "canvas.h"
#include "noise.h"
#include "pictures.h"

Picture MakePuffPicture() {
  const int size = 32;
  Picture picture(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double dx = (x + 0.5 - size / 2.0) / (size / 2.0), dy = (y + 0.5 - size / 2.0) / (size / 2.0);
      double r = std::sqrt(dx * dx + dy * dy);
      double lumps = FractalNoise(dx * 2.2 + 5.0, dy * 2.2 + 2.0, 3, 23u);
      double body = 1.0 - SmoothStep(0.25, 0.95 + (lumps - 0.5) * 0.35, r);
      double level = std::pow(body, 1.3) * (0.85 + 0.3 * (lumps - 0.5));
      BlendPixel(picture, x, y, Rgb{level, level, level});
    }
  return picture;
}
