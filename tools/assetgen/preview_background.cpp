// The preview's background: a dark scene of tilted, translucent window panels
// lit from the upper left. Small (152 x 112), so every edge is drawn with
// sub-pixel coverage to stay smooth.
#include <cmath>

#include "canvas.h"
#include "noise.h"
#include "pictures.h"

namespace {

constexpr int kWidth = 152, kHeight = 112;
constexpr int kSamples = 4;  // per side, for the coverage of tilted edges

struct Panel {
  double cx, cy, w, h, degrees;  // centre, size and tilt, in pixels and degrees
  Rgb tint;
  double alpha;
};

// Which part of a panel a point in its own frame (origin at the top-left) falls on.
enum class Part { kOutside, kFrame, kTitle, kBody };

Part PartAt(const Panel& panel, double u, double v) {
  if (u < 0 || v < 0 || u >= panel.w || v >= panel.h) return Part::kOutside;
  if (u < 1 || v < 1 || u >= panel.w - 1 || v >= panel.h - 1) return Part::kFrame;
  return v < 7 ? Part::kTitle : Part::kBody;
}

// Covers each pixel's samples by the panel and blends the averaged colour.
void DrawPanel(Picture& picture, const Panel& panel) {
  const double radians = panel.degrees * 3.14159265358979 / 180.0;
  const double c = std::cos(radians), s = std::sin(radians);
  const Rgb frame = Mix(panel.tint, Rgb{1, 1, 1}, 0.6);
  const Rgb title = Mix(panel.tint, Rgb{1, 1, 1}, 0.45);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      Rgb sum;
      double cover = 0;
      for (int j = 0; j < kSamples; ++j)
        for (int i = 0; i < kSamples; ++i) {
          const double dx = x + (i + 0.5) / kSamples - panel.cx, dy = y + (j + 0.5) / kSamples - panel.cy;
          const double u = dx * c + dy * s + panel.w / 2, v = -dx * s + dy * c + panel.h / 2;
          const Part part = PartAt(panel, u, v);
          if (part == Part::kOutside) continue;
          // The body brightens towards its upper left, as glass catching light.
          const double sheen = 0.35 * (1 - (u / panel.w + v / panel.h) / 2);
          const Rgb colour = part == Part::kFrame ? frame
                             : part == Part::kTitle ? title
                                                    : Mix(panel.tint, Rgb{1, 1, 1}, sheen);
          const double weight = part == Part::kFrame ? 1.6 : part == Part::kTitle ? 1.3 : 1.0;
          sum = {sum.r + colour.r * weight, sum.g + colour.g * weight, sum.b + colour.b * weight};
          cover += weight;
        }
      if (cover == 0) continue;
      const double samples = kSamples * kSamples;
      const Rgb mean{sum.r / cover, sum.g / cover, sum.b / cover};
      BlendPixel(picture, x, y, mean, panel.alpha * std::fmin(1.0, cover / samples));
    }
}

}  // namespace

Picture MakePreviewBackgroundPicture() {
  Picture picture(kWidth, kHeight);
  // Night blue, darker at the bottom, with a faint haze.
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const double t = static_cast<double>(y) / (kHeight - 1);
      const double haze = FractalNoise(x / 18.0, y / 18.0, 3, 71u) * 0.05;
      const Rgb base = Mix(Rgb{0.06, 0.08, 0.18}, Rgb{0.01, 0.01, 0.04}, t);
      BlendPixel(picture, x, y, Rgb{base.r + haze, base.g + haze, base.b + haze * 1.5});
    }
  // Back to front; the tilts alternate so the panels seem to float.
  const Panel panels[] = {
      {38, 30, 62, 44, -14, Rgb{0.20, 0.35, 0.75}, 0.35},
      {116, 26, 54, 40, 11, Rgb{0.45, 0.25, 0.70}, 0.30},
      {84, 64, 70, 50, -6, Rgb{0.15, 0.55, 0.70}, 0.38},
      {30, 88, 50, 36, 9, Rgb{0.25, 0.40, 0.85}, 0.32},
      {128, 92, 44, 34, -18, Rgb{0.55, 0.30, 0.60}, 0.30},
  };
  for (const Panel& panel : panels) DrawPanel(picture, panel);
  return picture;
}
