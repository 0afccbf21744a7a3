// Uncompressed bitmap rows to packed RGB, with GDI's channel scaling.
#include <cstring>

#include "bitmap_convert.h"
#include "contract/bmp_layout.h"
#include "task_runner.h"

namespace {

// Position and width of a mask's lowest run of set bits, as GDI reads masks.
struct Channel {
  int shift = 0;
  int length = 0;
};

// Finds the lowest contiguous run of ones in mask (mask is nonzero).
Channel ChannelOf(uint32_t mask) {
  Channel c;
  while (!(mask & 1u)) {
    mask >>= 1;
    ++c.shift;
  }
  while (c.length < 32 && (mask & 1u)) {
    mask >>= 1;
    ++c.length;
  }
  return c;
}

// One 8-bit channel from a pixel value. Channels narrower than 8 bits are
// widened GDI's way: the top bits are repeated once below (5 bits: v<<3 | v>>2;
// 1 bit gives 0xC0, not 0xFF); wider channels keep their top 8 bits.
unsigned char Extract(uint32_t value, Channel c) {
  const int shift = c.shift - (8 - c.length);
  uint32_t field = shift < 0 ? value << -shift : value >> shift;
  const uint32_t keep = c.length >= 8 ? 0xffu : (0xffu << (8 - c.length)) & 0xffu;
  field &= keep;
  if (c.length < 8) field |= field >> c.length;
  return static_cast<unsigned char>(field);
}

// Little-endian 16- or 32-bit pixel value at p.
uint32_t PixelValue(const unsigned char* p, int bytes) {
  uint32_t v = p[0] | (uint32_t{p[1]} << 8);
  if (bytes == 4) v |= (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
  return v;
}

// Palette index of pixel x in a row of 1, 4 or 8 bits per pixel (high bits first).
unsigned IndexAt(const unsigned char* row, int x, int bits) {
  if (bits == 8) return row[x];
  const int per_byte = 8 / bits;
  const int shift = 8 - bits * (x % per_byte + 1);
  return (row[x / per_byte] >> shift) & ((1u << bits) - 1);
}

// Converts one file row into one output row.
void ConvertRow(const BitmapSource& b, const unsigned char* row, unsigned char* out, const Channel* channels) {
  if (b.bits_per_pixel == 24) {  // the desktop's depth, and the size that matters: a loop of its own
    for (int x = 0; x < b.width; ++x, out += 3, row += 3) {
      out[0] = row[2];
      out[1] = row[1];
      out[2] = row[0];
    }
    return;
  }
  for (int x = 0; x < b.width; ++x, out += 3) {
    switch (b.bits_per_pixel) {
      case 16:
      case 32: {
        const int bytes = b.bits_per_pixel / 8;
        const uint32_t v = PixelValue(row + static_cast<size_t>(x) * bytes, bytes);
        for (int i = 0; i < 3; ++i) out[i] = Extract(v, channels[i]);
        break;
      }
      default:
        std::memcpy(out, b.palette[IndexAt(row, x, b.bits_per_pixel)], 3);
    }
  }
}

}  // namespace

void ConvertBitmapRows(const BitmapSource& b, unsigned char* out, const TaskRunner& tasks) {
  Channel channels[3];
  if (b.bits_per_pixel == 16 || b.bits_per_pixel == 32)
    for (int i = 0; i < 3; ++i) channels[i] = ChannelOf(b.masks[i]);
  const size_t stride = static_cast<size_t>(BitmapRowBytes(static_cast<uint64_t>(b.width), b.bits_per_pixel));
  const size_t out_row = static_cast<size_t>(b.width) * 3;
  ForEachRange(tasks, b.height, RowsPerTask(b.width), [&](int begin, int end) {
    for (int32_t y = begin; y < end; ++y) {
      const int32_t file_row = b.top_down ? b.height - 1 - y : y;
      ConvertRow(b, b.pixels + stride * file_row, out + out_row * y, channels);
    }
  });
}
