#include "bmp_file.h"

#include <algorithm>

namespace {

void PutLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

bool SideFits(int side) { return side >= 1 && side <= kMaxBitmapFileSide; }

}  // namespace

size_t BitmapRowStride(int width) {
  if (!SideFits(width)) return 0;
  return (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
}

std::vector<uint8_t> BitmapFileHeaders(int width, int height, uint32_t pixels_per_metre) {
  if (!SideFits(width) || !SideFits(height)) return {};
  const uint32_t pixel_bytes = static_cast<uint32_t>(BitmapRowStride(width) * static_cast<size_t>(height));
  std::vector<uint8_t> bytes;
  bytes.reserve(kBitmapHeadersSize);
  // File header: "BM", file size, two reserved words, offset of the pixels.
  bytes.push_back('B');
  bytes.push_back('M');
  PutLittleEndian(bytes, static_cast<uint32_t>(kBitmapHeadersSize) + pixel_bytes, 4);
  PutLittleEndian(bytes, 0, 4);
  PutLittleEndian(bytes, static_cast<uint32_t>(kBitmapHeadersSize), 4);
  // Information header: a positive height means the rows run bottom-up.
  PutLittleEndian(bytes, static_cast<uint32_t>(kBitmapInfoHeaderSize), 4);
  PutLittleEndian(bytes, static_cast<uint32_t>(width), 4);
  PutLittleEndian(bytes, static_cast<uint32_t>(height), 4);
  PutLittleEndian(bytes, 1, 2);   // planes
  PutLittleEndian(bytes, 24, 2);  // bits per pixel
  PutLittleEndian(bytes, 0, 4);   // BI_RGB: uncompressed
  PutLittleEndian(bytes, pixel_bytes, 4);
  PutLittleEndian(bytes, pixels_per_metre, 4);  // horizontal resolution
  PutLittleEndian(bytes, pixels_per_metre, 4);  // vertical resolution
  PutLittleEndian(bytes, 0, 4);  // colours used: none, no colour table
  PutLittleEndian(bytes, 0, 4);  // important colours
  return bytes;
}

void MirrorRows(uint8_t* pixels, int width, int height) {
  const size_t stride = BitmapRowStride(width);
  if (!pixels || stride == 0 || height <= 0) return;
  for (int row = 0; row < height; ++row) {
    uint8_t* left = pixels + stride * static_cast<size_t>(row);
    uint8_t* right = left + static_cast<size_t>(width - 1) * 3;
    for (; left < right; left += 3, right -= 3) std::swap_ranges(left, left + 3, right);
  }
}
