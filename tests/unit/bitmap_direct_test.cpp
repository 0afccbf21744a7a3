// 16-, 24- and 32-bit bitmaps: default channel layouts, bit-field masks, and
// GDI's widening of narrow channels (a 5-bit v becomes v<<3 | v>>2).
#include <gtest/gtest.h>

#include "bmp_builder.h"

namespace {

// A one-row file of the given depth holding values, with optional masks.
bmp::Options DirectRow(int bits, const std::vector<uint32_t>& values, std::vector<uint32_t> masks = {}) {
  bmp::Options o;
  o.width = static_cast<int32_t>(values.size());
  o.bits = static_cast<uint16_t>(bits);
  if (!masks.empty()) o.compression = 3;
  o.masks = std::move(masks);
  o.pixels = bmp::PackRows({values}, bits);
  return o;
}

// Decodes o and checks its single row against want.
void ExpectPixels(const bmp::Options& o, const std::vector<bmp::Rgb>& want) {
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok) << (d.messages.empty() ? "" : d.messages[0]);
  ASSERT_EQ(d.width, static_cast<int>(want.size()));
  for (size_t x = 0; x < want.size(); ++x) EXPECT_EQ(d.At(static_cast<int>(x), 0), want[x]) << "x=" << x;
}

TEST(Bitmap16, DefaultIs555WithTopBitsRepeatedBelow) {
  // Three pixels: rows of 6 bytes padded to 8 in the file.
  ExpectPixels(DirectRow(16, {0x7fff, 0x7c00, 0x03e0}), {{255, 255, 255}, {255, 0, 0}, {0, 255, 0}});
  ExpectPixels(DirectRow(16, {0x001f, 0x4210, 0x0421, 0x8000}),
               {{0, 0, 255}, {132, 132, 132}, {8, 8, 8}, {0, 0, 0}});  // the top bit is unused
}

TEST(Bitmap16, BitFields565WidenTheSixBitGreenChannel) {
  const std::vector<uint32_t> m565 = {0xf800, 0x07e0, 0x001f};
  ExpectPixels(DirectRow(16, {0xffff, 0x07e0, 0x0400, 0x8000, 0x0001, 0x0020}, m565),
               {{255, 255, 255}, {0, 255, 0}, {0, 130, 0}, {132, 0, 0}, {0, 0, 8}, {0, 4, 0}});
}

TEST(Bitmap16, BitFieldsMayNameAnyContiguousMasks) {
  // 4-4-4 in the high bits, blue lowest: 4-bit v becomes v<<4 | v.
  ExpectPixels(DirectRow(16, {0xf000, 0x0a50, 0x1230}, {0xf000, 0x0f00, 0x00f0}),
               {{255, 0, 0}, {0, 170, 85}, {17, 34, 51}});
}

TEST(Bitmap32, DefaultIs888AndIgnoresTheTopByte) {
  ExpectPixels(DirectRow(32, {0xaa112233, 0x00ffffff, 0xff000000}), {{0x11, 0x22, 0x33}, {255, 255, 255}, {0, 0, 0}});
}

TEST(Bitmap32, BitFieldsReorderAndNarrowChannels) {
  // Red in the low byte, blue in the third.
  ExpectPixels(DirectRow(32, {0x00332211}, {0x000000ff, 0x0000ff00, 0x00ff0000}), {{0x11, 0x22, 0x33}});
  // 10-bit channels keep their top 8 bits.
  ExpectPixels(DirectRow(32, {0x3ff00000, 0x20000000 | (0x155u << 10) | 0x003}, {0x3ff00000, 0x000ffc00, 0x000003ff}),
               {{255, 0, 0}, {0x80, 0x55, 0x00}});
}

TEST(Bitmap24, ThreePixelRowsComeBackAsNineBytes) {
  bmp::Options o;
  o.width = 3;
  o.height = 2;
  o.pixels = bmp::PackRows({{0x010203, 0x040506, 0x070809}, {0x0a0b0c, 0x0d0e0f, 0x101112}}, 24);
  ASSERT_EQ(o.pixels.size(), 24u);  // file rows padded to 12 bytes
  const bmp::Bytes file = bmp::Build(o);
  RgbImage* image = DecodeBitmap(file.data(), file.size(), nullptr);
  ASSERT_NE(image, nullptr);
  ASSERT_EQ(image->width, 3);
  ASSERT_EQ(image->height, 2);
  const unsigned char want[18] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
  EXPECT_EQ(0, std::memcmp(image->pixels, want, sizeof want));  // rows of exactly 9 bytes
  FreeRgbImage(image);
}

TEST(Bitmap24, CoreHeaderWithoutFileHeaderAndTopDownRows) {
  bmp::Options core;
  core.header_size = 12;
  core.file_header = false;
  core.width = 2;
  core.pixels = bmp::PackRows({{0xff8000, 0x0080ff}}, 24);
  ExpectPixels(core, {{255, 128, 0}, {0, 128, 255}});

  bmp::Options top_down;
  top_down.width = 1;
  top_down.height = -3;
  top_down.pixels = bmp::PackRows({{0x0000ff}, {0x00ff00}, {0xff0000}}, 24);  // top first
  const bmp::Decoded d = bmp::Decode(bmp::Build(top_down));
  ASSERT_TRUE(d.ok);
  ASSERT_EQ(d.height, 3);
  EXPECT_EQ(d.At(0, 0), (bmp::Rgb{255, 0, 0}));
  EXPECT_EQ(d.At(0, 1), (bmp::Rgb{0, 255, 0}));
  EXPECT_EQ(d.At(0, 2), (bmp::Rgb{0, 0, 255}));
}

TEST(Bitmap32, TopDownBitFieldsWithoutFileHeader) {
  bmp::Options o;
  o.file_header = false;  // pixels follow the three masks
  o.width = 1;
  o.height = -2;
  o.bits = 32;
  o.compression = 3;
  o.masks = {0xff0000, 0x00ff00, 0x0000ff};
  o.pixels = bmp::PackRows({{0x102030}, {0x405060}}, 32);
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.At(0, 0), (bmp::Rgb{0x40, 0x50, 0x60}));
  EXPECT_EQ(d.At(0, 1), (bmp::Rgb{0x10, 0x20, 0x30}));
}

}  // namespace
