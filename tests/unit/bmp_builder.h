// Writes the bytes of Windows bitmap files of every variant for the tests:
// with or without the file header, core (12), information (40) or larger
// headers, colour tables, bit-field masks, and pixel data given as stored.
// The plain 24-bit file is the contract's layout (contract/bmp_layout.h).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "bitmap_decoder.h"
#include "contract/bmp_layout.h"

namespace bmp {

using Bytes = std::vector<unsigned char>;

struct Rgb {
  unsigned char r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

constexpr Rgb kBlack = {0, 0, 0};

struct Options {
  uint32_t header_size = kBitmapInfoHeaderSize;  // 12, 40, or anything else (written as zeros past 40)
  bool file_header = true;
  int32_t width = 1;
  int32_t height = 1;
  uint16_t planes = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t image_size = 0;
  uint32_t colors_used = 0;
  std::vector<Rgb> palette;     // 3-byte entries after a core header, 4-byte otherwise
  std::vector<uint32_t> masks;  // written right after the header, before the palette
  Bytes pixels;                 // pixel data exactly as the file stores it
  bool override_offset = false;
  uint32_t pixel_offset = 0;    // used in the file header when override_offset
};

// Appends v as n little-endian bytes.
inline void Put(Bytes& out, uint64_t v, int n) {
  for (int i = 0; i < n; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// The whole file for o.
inline Bytes Build(const Options& o) {
  Bytes header;
  Put(header, o.header_size, 4);
  if (o.header_size == kBitmapCoreHeaderSize) {
    Put(header, static_cast<uint16_t>(o.width), 2);
    Put(header, static_cast<uint16_t>(o.height), 2);
    Put(header, o.planes, 2);
    Put(header, o.bits, 2);
  } else {
    Put(header, static_cast<uint32_t>(o.width), 4);
    Put(header, static_cast<uint32_t>(o.height), 4);
    Put(header, o.planes, 2);
    Put(header, o.bits, 2);
    Put(header, o.compression, 4);
    Put(header, o.image_size, 4);
    Put(header, 2835, 4);
    Put(header, 2835, 4);
    Put(header, o.colors_used, 4);
    Put(header, 0, 4);
    header.resize(std::max<size_t>(o.header_size, kBitmapInfoHeaderSize), 0);
  }
  for (uint32_t m : o.masks) Put(header, m, 4);
  for (const Rgb& c : o.palette) {
    header.push_back(c.b);
    header.push_back(c.g);
    header.push_back(c.r);
    if (o.header_size != kBitmapCoreHeaderSize) header.push_back(0);
  }
  Bytes file;
  if (o.file_header) {
    const size_t headers_size = kBitmapFileHeaderSize + header.size();
    const uint32_t offset = o.override_offset ? o.pixel_offset : static_cast<uint32_t>(headers_size);
    file.push_back('B');
    file.push_back('M');
    Put(file, headers_size + o.pixels.size(), 4);
    Put(file, 0, 4);
    Put(file, offset, 4);
  }
  file.insert(file.end(), header.begin(), header.end());
  file.insert(file.end(), o.pixels.begin(), o.pixels.end());
  return file;
}

// A well-formed 24-bit bottom-up file of width x height over pixels given as
// stored (rows padded to 4 bytes); empty for a side the layout refuses.
inline Bytes Plain24(int width, int height, const Bytes& pixels) {
  Bytes file = BitmapFileHeaders(width, height);
  if (!file.empty()) file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}

// Packs rows of pixel values into file rows padded to 4 bytes, in the order
// given. Values are palette indices (1/4/8 bits, high bits first), 16- or
// 32-bit words, or 0xRRGGBB for 24 bits.
inline Bytes PackRows(const std::vector<std::vector<uint32_t>>& rows, int bits) {
  Bytes out;
  for (const auto& row : rows) {
    Bytes line(static_cast<size_t>(BitmapRowBytes(row.size(), static_cast<uint32_t>(bits))), 0);
    for (size_t x = 0; x < row.size(); ++x) {
      const uint32_t v = row[x];
      if (bits < 8) {
        const size_t bit = x * bits;
        line[bit / 8] |= static_cast<unsigned char>(v << (8 - bits - bit % 8));
      } else if (bits == 24) {
        line[x * 3] = v & 0xff;  // blue, green, red
        line[x * 3 + 1] = (v >> 8) & 0xff;
        line[x * 3 + 2] = (v >> 16) & 0xff;
      } else {
        for (int i = 0; i < bits / 8; ++i) line[x * bits / 8 + i] = static_cast<unsigned char>(v >> (8 * i));
      }
    }
    out.insert(out.end(), line.begin(), line.end());
  }
  return out;
}

// Every message the decoder reported during the last Decode.
inline std::vector<std::string>& Reported() {
  static std::vector<std::string> messages;
  return messages;
}

// A reporter that collects into Reported().
inline void Collect(const char* text) { Reported().push_back(text); }

// A decoded picture, copied out of the RgbImage, with the messages reported.
struct Decoded {
  bool ok = false;
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // bottom row first
  std::vector<std::string> messages;
  // Pixel x of row y counted from the bottom.
  Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Decodes file with DecodeBitmap and a collecting reporter.
// Takes over a reader's result (null or a picture) and the messages it reported.
inline Decoded Collected(RgbImage* image) {
  Decoded d;
  d.messages = Reported();
  if (!image) return d;
  d.ok = true;
  d.width = image->width;
  d.height = image->height;
  for (size_t i = 0; i < static_cast<size_t>(d.width) * d.height; ++i)
    d.pixels.push_back({image->pixels[i * 3], image->pixels[i * 3 + 1], image->pixels[i * 3 + 2]});
  FreeRgbImage(image);
  return d;
}

inline Decoded Decode(const Bytes& file, size_t max_output_bytes = kMaxBitmapOutputBytes) {
  Reported().clear();
  return Collected(DecodeBitmap(file.data(), file.size(), Collect, max_output_bytes));
}

}  // namespace bmp
