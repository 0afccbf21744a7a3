// The portable decoder's converters and what they work from.
#pragma once

#include <cstddef>
#include <cstdint>

#include "task_runner.h"

// A bitmap whose sizes have all been checked against the file: every byte the
// converters read lies inside [pixels, pixels + pixel_bytes).
struct BitmapSource {
  int32_t width = 0;   // > 0
  int32_t height = 0;  // number of rows, > 0
  bool top_down = false;
  int bits_per_pixel = 0;
  bool rle = false;  // RLE8 or RLE4, by bits_per_pixel
  // 256 RGB entries; those the file does not supply are black, as in GDI.
  unsigned char palette[256][3] = {};
  uint32_t masks[3] = {};  // red, green, blue (16 and 32 bits per pixel)
  const unsigned char* pixels = nullptr;
  size_t pixel_bytes = 0;
};

// Uncompressed rows (1/4/8/16/24/32 bits) into packed RGB, bottom row first,
// split over tasks.
void ConvertBitmapRows(const BitmapSource& source, unsigned char* out, const TaskRunner& tasks);

// RLE4/RLE8 into packed RGB, bottom row first; out must hold black pixels on entry.
void DecodeBitmapRle(const BitmapSource& source, unsigned char* out);
