// The setup program's side picture: what the saver shows, seen from a camera
// tilted a little upwards: the cloudy sky over the sample desktop, mirrored
// and tiled as a ground that fades into the pink haze, and the airliner
// climbing across the sky.
#include <cmath>

#include "dialog_pictures.h"
#include "pictures.h"

namespace {

constexpr int kWidth = 164, kHeight = 314;
constexpr int kSamples = 3;            // per side, so the far ground does not shimmer
constexpr double kPitch = -0.17;       // radians; negative looks up, putting the horizon low
constexpr double kFocal = 224.0;       // pixels: about 70 degrees from top to bottom
constexpr double kGroundPixels = 420;  // desktop pixels per unit of ground, the camera 1 unit high

Rgb DesktopColour(const Picture& desktop, double x, double z) {
  auto wrap = [](double v, int size) { return ((static_cast<int>(std::floor(v)) % size) + size) % size; };
  const int u = desktop.width - 1 - wrap(x * kGroundPixels, desktop.width);  // mirrored, as the saver lays it
  const int v = wrap(z * kGroundPixels, desktop.height);
  const unsigned char* p = desktop.rgb.data() + (static_cast<size_t>(v) * desktop.width + u) * 3;
  return {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0};
}

// The colour seen through the picture point (px right, py up from the centre).
Rgb SceneColour(const Picture& desktop, double px, double py) {
  const double c = std::cos(kPitch), s = std::sin(kPitch);
  double dx = px, dy = -s * kFocal + c * py, dz = c * kFocal + s * py;
  const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
  dx /= length, dy /= length, dz /= length;
  if (dy >= 0) return SkyColour(dx, dy, dz, 7u);
  const double reach = 1.0 / -dy;
  const Rgb ground = DesktopColour(desktop, dx * reach, dz * reach);
  return Mix(ground, SkyColour(dx, 0.0, dz, 7u), 1 - std::exp(-reach / 9.0));
}

}  // namespace

Picture MakeSetupSidePicture() {
  const Picture desktop = MakeDesktopPicture();
  Picture picture(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      Rgb sum;
      for (int j = 0; j < kSamples; ++j)
        for (int i = 0; i < kSamples; ++i) {
          const Rgb c = SceneColour(desktop, x + (i + 0.5) / kSamples - kWidth / 2.0,
                                    kHeight / 2.0 - (y + (j + 0.5) / kSamples));
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
        }
      const double n = kSamples * kSamples;
      BlendPixel(picture, x, y, Rgb{sum.r / n, sum.g / n, sum.b / n});
      // The airliner, white with a blue-grey rim that keeps it clear of the clouds.
      BlendPixel(picture, x, y, Rgb{0.30, 0.38, 0.58}, AirlinerCover(x, y, 84, 104, 3.25, 38) * 0.8);
      BlendPixel(picture, x, y, Rgb{1.0, 1.0, 1.0}, AirlinerCover(x, y, 84, 104, 3.0, 38));
    }
  return picture;
}
