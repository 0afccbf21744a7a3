#include "bmp_writer.h"

#include <cstdint>
#include <fstream>

#include "contract/bmp_layout.h"

namespace {

constexpr uint32_t kPixelsPerMetreAt72Dpi = 2835;

}  // namespace

bool WriteBmp24(const std::string& path, const Picture& picture) {
  std::vector<uint8_t> out = BitmapFileHeaders(picture.width, picture.height, kPixelsPerMetreAt72Dpi);
  if (out.empty()) return false;
  const size_t row_bytes = BitmapRowStride(picture.width);
  out.reserve(out.size() + row_bytes * static_cast<size_t>(picture.height));
  for (int y = picture.height - 1; y >= 0; --y) {
    const unsigned char* row = &picture.rgb[static_cast<size_t>(y) * picture.width * 3];
    for (int x = 0; x < picture.width; ++x) {
      out.push_back(row[x * 3 + 2]);
      out.push_back(row[x * 3 + 1]);
      out.push_back(row[x * 3 + 0]);
    }
    out.resize(out.size() + row_bytes - static_cast<size_t>(picture.width) * 3, 0);
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}
