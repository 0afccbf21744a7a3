// Palette bitmaps (1, 4 and 8 bits per pixel) through the portable decoder.
#include <gtest/gtest.h>

#include <tuple>

#include "bmp_builder.h"

namespace {

// A colour table whose entries all differ, so every index is recognisable.
std::vector<bmp::Rgb> DistinctPalette(int entries) {
  std::vector<bmp::Rgb> palette;
  for (int i = 0; i < entries; ++i)
    palette.push_back({static_cast<unsigned char>(i * 37 + 1), static_cast<unsigned char>(255 - i),
                       static_cast<unsigned char>(i * 11 + 128)});
  return palette;
}

// Index rows (bottom first) using every colour in turn.
std::vector<std::vector<uint32_t>> IndexRows(int width, int height, int colours) {
  std::vector<std::vector<uint32_t>> rows(height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) rows[y].push_back(static_cast<uint32_t>(x * 7 + y * 3) % colours);
  return rows;
}

// (core header?, file header?, bits per pixel)
class PaletteVariants : public ::testing::TestWithParam<std::tuple<bool, bool, int>> {};

TEST_P(PaletteVariants, EveryPixelTakesItsPaletteColour) {
  const auto [core, file_header, bits] = GetParam();
  const int width = 13, height = 3;  // odd width: rows end mid-byte and need padding
  bmp::Options o;
  o.header_size = core ? 12 : 40;
  o.file_header = file_header;
  o.width = width;
  o.height = height;
  o.bits = static_cast<uint16_t>(bits);
  o.palette = DistinctPalette(1 << bits);
  const auto rows = IndexRows(width, height, 1 << bits);
  o.pixels = bmp::PackRows(rows, bits);

  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok) << (d.messages.empty() ? "" : d.messages[0]);
  EXPECT_TRUE(d.messages.empty());
  ASSERT_EQ(d.width, width);
  ASSERT_EQ(d.height, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) ASSERT_EQ(d.At(x, y), o.palette[rows[y][x]]) << "x=" << x << " y=" << y;
}

INSTANTIATE_TEST_SUITE_P(CoreAndInfoHeadersWithAndWithoutFileHeader, PaletteVariants,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool(), ::testing::Values(1, 4, 8)));

TEST(BitmapPalette, ColoursUsedShortensTheTableAndLaterIndicesAreBlack) {
  for (bool file_header : {true, false}) {
    bmp::Options o;
    o.file_header = file_header;  // without it, the pixels follow the 4 entries written
    o.width = 8;
    o.bits = 8;
    o.colors_used = 4;
    o.palette = DistinctPalette(4);
    o.pixels = bmp::PackRows({{0, 1, 2, 3, 4, 5, 200, 255}}, 8);
    const bmp::Decoded d = bmp::Decode(bmp::Build(o));
    ASSERT_TRUE(d.ok);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(d.At(x, 0), o.palette[x]);
    for (int x = 4; x < 8; ++x) EXPECT_EQ(d.At(x, 0), bmp::kBlack) << x;
  }
}

TEST(BitmapPalette, ColoursUsedCountsOnlyItsLow16Bits) {
  bmp::Options o;
  o.file_header = false;  // the pixel position depends on the entry count
  o.width = 4;
  o.bits = 8;
  o.colors_used = 0x10002;  // two entries
  o.palette = DistinctPalette(2);
  o.pixels = bmp::PackRows({{1, 0, 1, 2}}, 8);
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.At(0, 0), o.palette[1]);
  EXPECT_EQ(d.At(1, 0), o.palette[0]);
  EXPECT_EQ(d.At(3, 0), bmp::kBlack);
}

TEST(BitmapPalette, MoreColoursUsedThanTheDepthIndexesKeepsThePixelsWhereTheFileSays) {
  bmp::Options o;
  o.file_header = false;
  o.width = 3;
  o.bits = 1;
  o.colors_used = 5;  // five entries are stored, two are reachable
  o.palette = DistinctPalette(5);
  o.pixels = bmp::PackRows({{1, 0, 1}}, 1);
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.At(0, 0), o.palette[1]);
  EXPECT_EQ(d.At(1, 0), o.palette[0]);
}

TEST(BitmapPalette, TopDownRowsComeBackBottomUpWithAPositiveHeight) {
  bmp::Options o;
  o.width = 2;
  o.height = -3;
  o.bits = 4;
  o.palette = DistinctPalette(16);
  o.pixels = bmp::PackRows({{1, 2}, {3, 4}, {5, 6}}, 4);  // top row first
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok);
  ASSERT_EQ(d.height, 3);
  EXPECT_EQ(d.At(0, 0), o.palette[5]);  // bottom row
  EXPECT_EQ(d.At(1, 0), o.palette[6]);
  EXPECT_EQ(d.At(0, 2), o.palette[1]);  // top row
  EXPECT_EQ(d.At(1, 2), o.palette[2]);
}

}  // namespace
