// The layout of the Windows bitmap files the shell writes: a 14-byte file
// header, a 40-byte information header, then 24-bit rows bottom-up, each row
// padded to a multiple of four bytes, uncompressed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kBitmapFileHeaderSize = 14;
constexpr size_t kBitmapInfoHeaderSize = 40;
constexpr size_t kBitmapHeadersSize = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;

// Bytes of one 24-bit row, padding included; 0 for a width outside 1..kMaxBitmapSide.
size_t BitmapRowStride(int width);

// The largest side the writer accepts, so that the file size fits its 32-bit field.
constexpr int kMaxBitmapSide = 16384;

// The 54 header bytes of a width x height, 24-bit bottom-up file; empty when
// either side lies outside 1..kMaxBitmapSide.
std::vector<uint8_t> BitmapFileHeaders(int width, int height);

// Turns the picture left to right in place: the pixels of every row of a
// width x height, 24-bit picture in this layout, padding left alone.
void MirrorRows(uint8_t* pixels, int width, int height);
