// RLE4 and RLE8 pixel data to packed RGB, following GDI's reading of the
// codes: runs are clipped at the row's end, pixels that no run covers stay
// black, and a run is only drawn once an escape code (end of line, end of
// bitmap or delta) follows it, so a stream that simply runs out loses the
// pixels written since its last escape.
#include <algorithm>
#include <cstring>

#include "bitmap_convert.h"

namespace {

// The decoder's position: output row (0 = bottom), column, and the span of
// the current row written since the last escape.
struct RleCursor {
  int32_t row = 0;
  int32_t x = 0;
  int32_t pending_from = 0;
};

// Writes the palette colour of index to pixel x of row.
void Put(const BitmapSource& b, unsigned char* out, const RleCursor& c, int32_t x, unsigned index) {
  std::memcpy(out + (static_cast<size_t>(c.row) * b.width + x) * 3, b.palette[index], 3);
}

// Nibble k of a run of 4-bit pixels packed high nibble first.
unsigned Nibble(const unsigned char* bytes, unsigned k) {
  const unsigned char v = bytes[k / 2];
  return (k & 1) ? v & 0x0f : v >> 4;
}

}  // namespace

void DecodeBitmapRle(const BitmapSource& b, unsigned char* out) {
  const unsigned char* in = b.pixels;
  const size_t size = b.pixel_bytes;
  const bool four = b.bits_per_pixel == 4;
  RleCursor c;
  size_t i = 0;
  while (i + 1 < size) {
    const unsigned count = in[i];
    const unsigned code = in[i + 1];
    i += 2;
    if (count) {  // encoded run: one byte repeated (RLE4: its two nibbles alternate)
      const int32_t n = std::min<int32_t>(count, b.width - c.x);
      for (int32_t k = 0; k < n; ++k) Put(b, out, c, c.x + k, four ? ((k & 1) ? code & 0x0f : code >> 4) : code);
      c.x += n;
      continue;
    }
    if (code >= 3) {
      // Absolute run of `code` pixels, padded to a 16-bit boundary: a 255-pixel
      // RLE8 run takes 256 bytes (Wine 8 keeps that skip in a byte, which wraps to 0).
      const size_t bytes = four ? (code + 1) / 2 : code;
      if (bytes > size - i) break;
      const int32_t n = std::min<int32_t>(code, b.width - c.x);
      for (int32_t k = 0; k < n; ++k) Put(b, out, c, c.x + k, four ? Nibble(in + i, k) : in[i + k]);
      c.x += n;
      i += (bytes + 1) & ~size_t{1};
      continue;
    }
    if (code == 1) return;  // end of bitmap
    if (code == 0) {        // end of line
      c.x = 0;
      if (++c.row >= b.height) return;
    } else {  // delta: move right and up by the next two bytes
      if (i + 1 >= size) return;
      c.x = std::min<int32_t>(c.x + in[i], b.width);
      c.row += in[i + 1];
      i += 2;
      if (c.row >= b.height) return;
    }
    c.pending_from = c.x;
  }
  // The data ended without an escape: the last span is never drawn.
  std::memset(out + (static_cast<size_t>(c.row) * b.width + c.pending_from) * 3, 0,
              static_cast<size_t>(c.x - c.pending_from) * 3);
}
