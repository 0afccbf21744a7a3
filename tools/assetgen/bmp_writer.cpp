#include "bmp_writer.h"

#include <cstdint>
#include <fstream>

// Appends a little-endian integer of the given byte count.
static void PutLittleEndian(std::vector<unsigned char>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

bool WriteBmp24(const std::string& path, const Picture& picture) {
  const uint32_t row_bytes = (static_cast<uint32_t>(picture.width) * 3 + 3) & ~3u;
  const uint32_t image_bytes = row_bytes * static_cast<uint32_t>(picture.height);
  std::vector<unsigned char> out;
  out.reserve(54 + image_bytes);
  out.push_back('B');
  out.push_back('M');
  PutLittleEndian(out, 54 + image_bytes, 4);  // file size
  PutLittleEndian(out, 0, 4);                 // reserved
  PutLittleEndian(out, 54, 4);                // pixel data offset
  PutLittleEndian(out, 40, 4);                // information header size
  PutLittleEndian(out, static_cast<uint32_t>(picture.width), 4);
  PutLittleEndian(out, static_cast<uint32_t>(picture.height), 4);  // positive: bottom-up
  PutLittleEndian(out, 1, 2);                 // planes
  PutLittleEndian(out, 24, 2);                // bits per pixel
  PutLittleEndian(out, 0, 4);                 // no compression
  PutLittleEndian(out, image_bytes, 4);
  PutLittleEndian(out, 2835, 4);              // 72 dots per inch, both ways
  PutLittleEndian(out, 2835, 4);
  PutLittleEndian(out, 0, 4);                 // colours used
  PutLittleEndian(out, 0, 4);                 // colours important
  for (int y = picture.height - 1; y >= 0; --y) {
    const unsigned char* row = &picture.rgb[static_cast<size_t>(y) * picture.width * 3];
    for (int x = 0; x < picture.width; ++x) {
      out.push_back(row[x * 3 + 2]);
      out.push_back(row[x * 3 + 1]);
      out.push_back(row[x * 3 + 0]);
    }
    for (uint32_t pad = static_cast<uint32_t>(picture.width) * 3; pad < row_bytes; ++pad) out.push_back(0);
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}
