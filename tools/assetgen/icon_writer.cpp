#include "icon_writer.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <set>

#include "contract/bmp_layout.h"

namespace {

constexpr int kSide = 32;
constexpr uint32_t kMaskRowBytes = 4;  // 32 one-bit pixels, already a multiple of 4

struct PaletteColour {
  unsigned char r, g, b;
};

void Put(std::vector<unsigned char>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// Black, then the picture's own colours when that makes at most 256 (visible
// pixels only), else a 6 x 6 x 6 cube (black first) and 40 greys; always 256 entries.
std::vector<PaletteColour> PaletteFor(const Picture& picture, const std::vector<bool>& transparent) {
  std::set<std::array<unsigned char, 3>> colours = {{0, 0, 0}};  // black first, for the clear pixels
  for (size_t i = 0; i < transparent.size() && colours.size() <= 256; ++i)
    if (!transparent[i]) colours.insert({picture.rgb[i * 3], picture.rgb[i * 3 + 1], picture.rgb[i * 3 + 2]});
  std::vector<PaletteColour> palette;
  if (colours.size() <= 256) {
    for (const auto& c : colours) palette.push_back({c[0], c[1], c[2]});
    palette.resize(256, PaletteColour{0, 0, 0});
    return palette;
  }
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        palette.push_back({static_cast<unsigned char>(r * 51), static_cast<unsigned char>(g * 51),
                           static_cast<unsigned char>(b * 51)});
  for (int i = 0; i < 40; ++i) {
    const auto v = static_cast<unsigned char>(6 + i * 249 / 39);
    palette.push_back({v, v, v});
  }
  return palette;
}

unsigned char NearestIndex(const std::vector<PaletteColour>& palette, const unsigned char* rgb) {
  int best = 0;
  long best_distance = -1;
  for (size_t i = 0; i < palette.size(); ++i) {
    const long dr = rgb[0] - palette[i].r, dg = rgb[1] - palette[i].g, db = rgb[2] - palette[i].b;
    const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (best_distance < 0 || distance < best_distance) {
      best_distance = distance;
      best = static_cast<int>(i);
    }
  }
  return static_cast<unsigned char>(best);
}

// File header, one directory entry and the image's information header (its
// height counts the colour rows and the mask rows). For a cursor the entry's
// planes and bit count hold the hot spot.
std::vector<unsigned char> Headers(bool cursor, int bits, uint32_t palette_entries, int hot_x, int hot_y) {
  const uint32_t colour_row_bytes = static_cast<uint32_t>(BitmapRowBytes(kSide, static_cast<uint32_t>(bits)));
  const uint32_t image_bytes = (colour_row_bytes + kMaskRowBytes) * kSide;
  const uint32_t resource_bytes = kBitmapInfoHeaderSize + palette_entries * 4 + image_bytes;
  std::vector<unsigned char> out;
  Put(out, 0, 2);
  Put(out, cursor ? 2 : 1, 2);  // 1 icon, 2 cursor
  Put(out, 1, 2);               // one image
  Put(out, kSide, 1);
  Put(out, kSide, 1);
  Put(out, bits >= 8 ? 0 : palette_entries, 1);  // colour count, 0 for 256
  Put(out, 0, 1);
  Put(out, static_cast<uint32_t>(cursor ? hot_x : 1), 2);
  Put(out, static_cast<uint32_t>(cursor ? hot_y : bits), 2);
  Put(out, resource_bytes, 4);
  Put(out, 6 + 16, 4);  // the image follows the directory
  Put(out, kBitmapInfoHeaderSize, 4);
  Put(out, kSide, 4);
  Put(out, kSide * 2, 4);
  Put(out, 1, 2);
  Put(out, static_cast<uint32_t>(bits), 2);
  Put(out, kBiRgb, 4);
  Put(out, image_bytes, 4);
  Put(out, 0, 4);
  Put(out, 0, 4);
  Put(out, 0, 4);  // colours used: all the bit count allows
  Put(out, 0, 4);
  return out;
}

// The AND mask, bottom-up: a set bit lets the screen show through.
void PutMask(std::vector<unsigned char>& out, const std::vector<bool>& transparent) {
  for (int y = kSide - 1; y >= 0; --y)
    for (int byte = 0; byte < 4; ++byte) {
      unsigned char bits = 0;
      for (int bit = 0; bit < 8; ++bit)
        if (transparent[static_cast<size_t>(y) * kSide + byte * 8 + bit]) bits |= static_cast<unsigned char>(0x80 >> bit);
      out.push_back(bits);
    }
}

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

}  // namespace

bool WriteIcon256(const std::string& path, const Picture& picture, const std::vector<bool>& transparent) {
  if (picture.width != kSide || picture.height != kSide || transparent.size() != kSide * kSide) return false;
  const std::vector<PaletteColour> palette = PaletteFor(picture, transparent);
  std::vector<unsigned char> out = Headers(false, 8, 256, 0, 0);
  for (const PaletteColour& colour : palette) {
    out.push_back(colour.b);
    out.push_back(colour.g);
    out.push_back(colour.r);
    out.push_back(0);
  }
  for (int y = kSide - 1; y >= 0; --y)
    for (int x = 0; x < kSide; ++x) {
      const bool clear = transparent[static_cast<size_t>(y) * kSide + x];
      // Transparent pixels take index 0 (black), so the mask alone decides.
      out.push_back(clear ? 0 : NearestIndex(palette, &picture.rgb[(static_cast<size_t>(y) * kSide + x) * 3]));
    }
  PutMask(out, transparent);
  return WriteFile(path, out);
}

bool WriteMonochromeCursor(const std::string& path, const std::vector<std::string>& rows, int hot_x, int hot_y) {
  if (rows.size() != kSide) return false;
  for (const std::string& row : rows)
    if (row.size() != kSide) return false;
  std::vector<unsigned char> out = Headers(true, 1, 2, hot_x, hot_y);
  Put(out, 0x00000000, 4);  // index 0 black
  Put(out, 0x00FFFFFF, 4);  // index 1 white
  std::vector<bool> transparent(kSide * kSide);
  for (int y = kSide - 1; y >= 0; --y)
    for (int byte = 0; byte < 4; ++byte) {
      unsigned char bits = 0;
      for (int bit = 0; bit < 8; ++bit)
        if (rows[static_cast<size_t>(y)][static_cast<size_t>(byte * 8 + bit)] == 'o') bits |= static_cast<unsigned char>(0x80 >> bit);
      out.push_back(bits);
    }
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      transparent[static_cast<size_t>(y) * kSide + x] = c != 'X' && c != 'o';
    }
  PutMask(out, transparent);
  return WriteFile(path, out);
}
