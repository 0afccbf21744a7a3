#include "bitmap_layout.h"

#include <cstdint>

namespace {

// Little-endian 16-bit value at data[at]; the caller has checked the bounds.
uint16_t Read16(const unsigned char* data, size_t at) {
  return static_cast<uint16_t>(data[at] | (data[at + 1] << 8));
}

// True if `count` bytes starting at `offset` lie inside a buffer of `size` bytes.
bool Fits(size_t size, uint64_t offset, uint64_t count) {
  return offset <= size && count <= size - offset;
}

// True for the depth and compression pairs a bitmap file can hold.
bool IsKnownFormat(uint32_t header_size, uint16_t bit_count, uint32_t compression) {
  switch (compression) {
    case kBiRgb:
      return bit_count == 1 || bit_count == 4 || bit_count == 8 || bit_count == 16 ||
             bit_count == 24 || bit_count == 32;
    case kBiRle8:
      return header_size == kBitmapInfoHeaderSize && bit_count == 8;
    case kBiRle4:
      return header_size == kBitmapInfoHeaderSize && bit_count == 4;
    case kBiBitfields:
      return header_size == kBitmapInfoHeaderSize && (bit_count == 16 || bit_count == 32);
    default:
      return false;
  }
}

// Reads the core or information header fields into layout.
void ReadHeaderFields(const unsigned char* header, uint32_t header_size, BitmapLayout* layout) {
  if (header_size == kBitmapCoreHeaderSize) {
    layout->width = Read16(header, 4);
    layout->height = Read16(header, 6);
    layout->planes = Read16(header, 8);
    layout->bit_count = Read16(header, 10);
  } else {
    layout->width = static_cast<int32_t>(Read32(header, 4));
    layout->height = static_cast<int32_t>(Read32(header, 8));
    layout->planes = Read16(header, 12);
    layout->bit_count = Read16(header, 14);
    layout->compression = Read32(header, 16);
    layout->image_size = Read32(header, 20);
    layout->colors_used = Read32(header, 32);
  }
}

// Sets pixel_bytes and row_bytes; false if the pixel data cannot lie in the file.
bool PlacePixels(size_t size, BitmapLayout* layout) {
  if (layout->pixel_offset > size) return false;
  const uint64_t available = size - layout->pixel_offset;
  if (layout->compression == kBiRle8 || layout->compression == kBiRle4) {
    if (layout->height < 0 || layout->image_size > available) return false;
    layout->pixel_bytes = layout->image_size != 0 ? layout->image_size : static_cast<size_t>(available);
    layout->row_bytes = 0;
    return true;
  }
  const uint64_t row_bytes = BitmapRowBytes(static_cast<uint64_t>(layout->width), layout->bit_count);
  const uint64_t rows = layout->abs_height();
  if (row_bytes > available / rows) return false;  // also catches products past 2^64
  layout->row_bytes = static_cast<size_t>(row_bytes);
  layout->pixel_bytes = static_cast<size_t>(row_bytes * rows);
  return true;
}

// True if the 24-bit result (rows padded to 4 bytes, as a DIB section holds it) stays below 2^31 bytes.
bool FitsInMemory(const BitmapLayout& layout) {
  const uint64_t row = BitmapRowBytes(static_cast<uint64_t>(layout.width), 24);
  return row * layout.abs_height() <= 0x7fffffffu;
}

}  // namespace

uint32_t PaletteEntryCount(uint32_t header_size, uint16_t bit_count, uint32_t colors_used) {
  if (header_size == kBitmapInfoHeaderSize && colors_used != 0) return colors_used & 0xffffu;
  switch (bit_count) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

BitmapLayoutStatus ReadBitmapLayout(const unsigned char* data, size_t size, BitmapLayout* layout) {
  *layout = BitmapLayout();
  layout->has_file_header = size >= 2 && data[0] == 'B' && data[1] == 'M';
  layout->header_offset = layout->has_file_header ? kBitmapFileHeaderSize : 0;
  if (!Fits(size, layout->header_offset, 4)) return BitmapLayoutStatus::kUnknownHeader;
  layout->header_size = Read32(data, layout->header_offset);
  if (layout->header_size != kBitmapCoreHeaderSize && layout->header_size != kBitmapInfoHeaderSize)
    return BitmapLayoutStatus::kUnknownHeader;
  if (!Fits(size, layout->header_offset, layout->header_size)) return BitmapLayoutStatus::kUnknownHeader;
  ReadHeaderFields(data + layout->header_offset, layout->header_size, layout);

  if (layout->width <= 0 || layout->height == 0) return BitmapLayoutStatus::kMalformed;
  if (!IsKnownFormat(layout->header_size, layout->bit_count, layout->compression))
    return BitmapLayoutStatus::kMalformed;

  size_t after_header = layout->header_offset + layout->header_size;
  if (layout->compression == kBiBitfields) {
    layout->has_masks = true;
    layout->masks_offset = after_header;
    if (!Fits(size, after_header, kBitmapMasksSize)) return BitmapLayoutStatus::kMalformed;
    after_header += kBitmapMasksSize;
  }
  layout->palette_entries = PaletteEntryCount(layout->header_size, layout->bit_count, layout->colors_used);
  layout->palette_entry_size = layout->header_size == kBitmapCoreHeaderSize ? 3 : 4;
  layout->palette_offset = after_header;
  const uint64_t palette_bytes = static_cast<uint64_t>(layout->palette_entries) * layout->palette_entry_size;
  if (!Fits(size, layout->palette_offset, palette_bytes)) return BitmapLayoutStatus::kMalformed;

  if (layout->has_file_header) {
    layout->pixel_offset = Read32(data, 10);  // inside the file: the header check covered offset 14
  } else {
    layout->pixel_offset = layout->palette_offset + static_cast<size_t>(palette_bytes);
  }
  if (!PlacePixels(size, layout)) return BitmapLayoutStatus::kMalformed;
  if (!FitsInMemory(*layout)) return BitmapLayoutStatus::kTooLarge;
  return BitmapLayoutStatus::kOk;
}

uint32_t Read32(const unsigned char* data, size_t at) {
  return static_cast<uint32_t>(data[at]) | (static_cast<uint32_t>(data[at + 1]) << 8) |
         (static_cast<uint32_t>(data[at + 2]) << 16) | (static_cast<uint32_t>(data[at + 3]) << 24);
}

bool FitsOutputBounds(const BitmapLayout& layout, int32_t max_side, size_t max_output_bytes) {
  return FitsOutputBounds(static_cast<uint64_t>(layout.width), layout.abs_height(), max_side, max_output_bytes);
}

bool FitsOutputBounds(uint64_t width, uint64_t rows, int32_t max_side, size_t max_output_bytes) {
  const uint64_t side = static_cast<uint64_t>(max_side);
  return width <= side && rows <= side && width * rows * 3 <= max_output_bytes;
}
