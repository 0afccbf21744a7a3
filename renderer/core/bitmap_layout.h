// Where the parts of a bitmap file lie, checked against the file's length.
// Shared by the portable decoder and the Windows GDI reader, so that both
// refuse the same files before touching their pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "contract/bmp_layout.h"

enum class BitmapLayoutStatus {
  kOk,
  kUnknownHeader,  // the header is unreadable or its size is neither 12 nor 40
  kMalformed,      // a format no conversion accepts, or parts outside the file
  kTooLarge,       // the 24-bit result would not fit in memory
};

struct BitmapLayout {
  bool has_file_header = false;
  size_t header_offset = 0;
  uint32_t header_size = 0;
  int32_t width = 0;
  int32_t height = 0;  // negative for top-down rows
  uint16_t planes = 0;
  uint16_t bit_count = 0;
  uint32_t compression = kBiRgb;
  uint32_t image_size = 0;
  uint32_t colors_used = 0;
  bool has_masks = false;  // bit-field masks, kBitmapMasksSize bytes right after the header
  size_t masks_offset = 0;
  uint32_t palette_entries = 0;
  uint32_t palette_entry_size = 0;  // 3 (core) or 4 (information header)
  size_t palette_offset = 0;
  size_t pixel_offset = 0;
  size_t pixel_bytes = 0;  // bytes the conversion may read from pixel_offset
  size_t row_bytes = 0;    // padded row length; 0 for RLE

  // Number of rows, whatever the row order.
  uint32_t abs_height() const {
    return height < 0 ? 0u - static_cast<uint32_t>(height) : static_cast<uint32_t>(height);
  }
};

// Colour-table entries: colours-used (as 16 bits) for an information header
// when it is not 0, otherwise 2, 16 or 256 by depth, otherwise 0.
uint32_t PaletteEntryCount(uint32_t header_size, uint16_t bit_count, uint32_t colors_used);

// Little-endian 32-bit value at data[at]; the caller has checked the bounds.
uint32_t Read32(const unsigned char* data, size_t at);

// Parses the headers of the size bytes at data and checks that the header,
// masks, colour table and pixel data lie inside them.
BitmapLayoutStatus ReadBitmapLayout(const unsigned char* data, size_t size, BitmapLayout* layout);

// True if the picture stays within max_side pixels a side and max_output_bytes
// of packed RGB: the bounds every reader applies before allocating anything.
bool FitsOutputBounds(const BitmapLayout& layout, int32_t max_side, size_t max_output_bytes);
// The same bounds for width x rows pixels, whatever format claims them.
bool FitsOutputBounds(uint64_t width, uint64_t rows, int32_t max_side, size_t max_output_bytes);
