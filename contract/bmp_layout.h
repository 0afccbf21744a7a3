// The Windows bitmap file layout: the header sizes and compression values the
// renderer's readers check, the row stride, and the plain file the shell, the
// asset generator and the tests write (a 14-byte file header, a 40-byte
// information header, then 24-bit rows bottom-up, each padded to a multiple of
// four bytes, uncompressed).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kBitmapFileHeaderSize = 14;
constexpr uint32_t kBitmapCoreHeaderSize = 12;
constexpr uint32_t kBitmapInfoHeaderSize = 40;
constexpr size_t kBitmapHeadersSize = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;

// Three 32-bit bit-field masks, right after an information header that asks for them.
constexpr size_t kBitmapMasksSize = 12;

// Compression values of the information header.
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

// Bytes of one row of width pixels at bits_per_pixel, padded to four bytes.
constexpr uint64_t BitmapRowBytes(uint64_t width, uint32_t bits_per_pixel) {
  return (width * bits_per_pixel + 31) / 32 * 4;
}

// The largest side the writer accepts, so that the file size fits its 32-bit field.
constexpr int kMaxBitmapFileSide = 16384;

constexpr bool BitmapSideFits(int side) { return side >= 1 && side <= kMaxBitmapFileSide; }

// Bytes of one 24-bit row, padding included; 0 for a width outside 1..kMaxBitmapFileSide.
inline size_t BitmapRowStride(int width) {
  if (!BitmapSideFits(width)) return 0;
  return static_cast<size_t>(BitmapRowBytes(static_cast<uint64_t>(width), 24));
}

// The 54 header bytes of a width x height, 24-bit bottom-up file, with the
// given resolution both ways (0: unspecified); empty when either side lies
// outside 1..kMaxBitmapFileSide.
inline std::vector<uint8_t> BitmapFileHeaders(int width, int height, uint32_t pixels_per_metre = 0) {
  if (!BitmapSideFits(width) || !BitmapSideFits(height)) return {};
  const uint32_t pixel_bytes = static_cast<uint32_t>(BitmapRowStride(width) * static_cast<size_t>(height));
  std::vector<uint8_t> bytes;
  bytes.reserve(kBitmapHeadersSize);
  auto put = [&bytes](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  // File header: "BM", file size, two reserved words, offset of the pixels.
  bytes.push_back('B');
  bytes.push_back('M');
  put(static_cast<uint32_t>(kBitmapHeadersSize) + pixel_bytes, 4);
  put(0, 4);
  put(static_cast<uint32_t>(kBitmapHeadersSize), 4);
  // Information header: a positive height means the rows run bottom-up.
  put(kBitmapInfoHeaderSize, 4);
  put(static_cast<uint32_t>(width), 4);
  put(static_cast<uint32_t>(height), 4);
  put(1, 2);   // planes
  put(24, 2);  // bits per pixel
  put(kBiRgb, 4);
  put(pixel_bytes, 4);
  put(pixels_per_metre, 4);  // horizontal resolution
  put(pixels_per_metre, 4);  // vertical resolution
  put(0, 4);  // colours used: none, no colour table
  put(0, 4);  // important colours
  return bytes;
}
