// Simple drawing on a Picture: blended pixels, rectangles, discs and text.
#pragma once

#include <string>

#include "bmp_writer.h"

struct Rgb {
  double r = 0, g = 0, b = 0;  // 0..1
};

inline Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Blends colour over pixel (x, y) with the given opacity; outside is ignored.
void BlendPixel(Picture& picture, int x, int y, Rgb colour, double alpha = 1.0);
void FillRect(Picture& picture, int x, int y, int w, int h, Rgb colour, double alpha = 1.0);
// A one-pixel outline of the rectangle.
void FrameRect(Picture& picture, int x, int y, int w, int h, Rgb colour);
// A disc with a soft one-pixel edge.
void FillDisc(Picture& picture, double cx, double cy, double radius, Rgb colour, double alpha = 1.0);
// Text in the built-in 5 x 7 font, each font pixel drawn as scale x scale.
void DrawText(Picture& picture, int x, int y, const std::string& text, int scale, Rgb colour);
int TextWidth(const std::string& text, int scale);
