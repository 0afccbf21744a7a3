#include "bmp_file.h"

#include <algorithm>

void MirrorRows(uint8_t* pixels, int width, int height) {
  const size_t stride = BitmapRowStride(width);
  if (!pixels || stride == 0 || height <= 0) return;
  for (int row = 0; row < height; ++row) {
    uint8_t* left = pixels + stride * static_cast<size_t>(row);
    uint8_t* right = left + static_cast<size_t>(width - 1) * 3;
    for (; left < right; left += 3, right -= 3) std::swap_ranges(left, left + 3, right);
  }
}
