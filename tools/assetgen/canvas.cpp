#include "canvas.h"

#include <algorithm>
#include <cmath>

#include "font5x7.h"

// Converts a 0..1 channel to a byte, rounding to nearest.
static unsigned char ToByte(double v) {
  return static_cast<unsigned char>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5);
}

void BlendPixel(Picture& picture, int x, int y, Rgb colour, double alpha) {
  if (x < 0 || y < 0 || x >= picture.width || y >= picture.height || alpha <= 0) return;
  unsigned char* p = picture.At(x, y);
  const double c[3] = {colour.r, colour.g, colour.b};
  for (int k = 0; k < 3; ++k) p[k] = ToByte(p[k] / 255.0 * (1 - alpha) + c[k] * alpha);
}

void FillRect(Picture& picture, int x, int y, int w, int h, Rgb colour, double alpha) {
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx) BlendPixel(picture, xx, yy, colour, alpha);
}

void FrameRect(Picture& picture, int x, int y, int w, int h, Rgb colour) {
  FillRect(picture, x, y, w, 1, colour);
  FillRect(picture, x, y + h - 1, w, 1, colour);
  FillRect(picture, x, y, 1, h, colour);
  FillRect(picture, x + w - 1, y, 1, h, colour);
}

void FillDisc(Picture& picture, double cx, double cy, double radius, Rgb colour, double alpha) {
  for (int y = static_cast<int>(cy - radius - 1); y <= static_cast<int>(cy + radius + 1); ++y)
    for (int x = static_cast<int>(cx - radius - 1); x <= static_cast<int>(cx + radius + 1); ++x) {
      double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      BlendPixel(picture, x, y, colour, alpha * std::clamp(radius - d + 0.5, 0.0, 1.0));
    }
}

void DrawText(Picture& picture, int x, int y, const std::string& text, int scale, Rgb colour) {
  for (char ch : text) {
    const char* const* rows = GlyphRows(ch);
    for (int row = 0; row < kGlyphHeight; ++row)
      for (int col = 0; col < kGlyphWidth; ++col)
        if (rows[row][col] == '#') FillRect(picture, x + col * scale, y + row * scale, scale, scale, colour);
    x += kGlyphAdvance * scale;
  }
}

int TextWidth(const std::string& text, int scale) {
  return text.empty() ? 0 : (static_cast<int>(text.size()) * kGlyphAdvance - 1) * scale;
}
