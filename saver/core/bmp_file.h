// The layout of the plain Windows bitmap files the shell writes (and the asset
// generator and the tests with it): a 14-byte file header, a 40-byte
// information header, then 24-bit rows bottom-up, each row padded to a
// multiple of four bytes, uncompressed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kBitmapFileHeaderSize = 14;
constexpr size_t kBitmapInfoHeaderSize = 40;
constexpr size_t kBitmapHeadersSize = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;

// Bytes of one 24-bit row, padding included; 0 for a width outside 1..kMaxBitmapFileSide.
size_t BitmapRowStride(int width);

// The largest side the writer accepts, so that the file size fits its 32-bit field.
constexpr int kMaxBitmapFileSide = 16384;

// The 54 header bytes of a width x height, 24-bit bottom-up file, with the
// given resolution both ways (0: unspecified); empty when either side lies
// outside 1..kMaxBitmapFileSide.
std::vector<uint8_t> BitmapFileHeaders(int width, int height, uint32_t pixels_per_metre = 0);

// Turns the picture left to right in place: the pixels of every row of a
// width x height, 24-bit picture in this layout, padding left alone.
void MirrorRows(uint8_t* pixels, int width, int height);
