// The packed 24-bit picture that every bitmap reader hands back.
#pragma once

#include <cstdint>

// Rows of width x 3 bytes (red, green, blue) with no padding, bottom row first;
// width and height are always positive. The record and its pixels come from
// malloc and belong to the caller.
struct RgbImage {
  int32_t width;
  int32_t height;
  unsigned char* pixels;
};

// Releases the record and its pixels; null is allowed.
void FreeRgbImage(RgbImage* image);

struct RgbImageFree {
  void operator()(RgbImage* image) const { FreeRgbImage(image); }
};
