#include "bmp_file.h"

#include <gtest/gtest.h>

#include <vector>

TEST(BitmapFileHeaders, PinsEveryHeaderByte) {
  // 3 x 2 pixels: rows of 9 bytes padded to 12, 24 bytes of pixels, 78 in all.
  const std::vector<uint8_t> expected = {
      'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
      40, 0, 0, 0,  3, 0, 0, 0,  2, 0, 0, 0,  1, 0,  24, 0,  0, 0, 0, 0,  24, 0, 0, 0,
      0, 0, 0, 0,   0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,
  };
  EXPECT_EQ(BitmapFileHeaders(3, 2), expected);
}

TEST(BitmapFileHeaders, WritesTheResolutionGivenBothWays) {
  const std::vector<uint8_t> plain = BitmapFileHeaders(3, 2);
  const std::vector<uint8_t> bytes = BitmapFileHeaders(3, 2, 2835);  // 72 dots an inch
  ASSERT_EQ(bytes.size(), kBitmapHeadersSize);
  for (size_t at = 0; at < bytes.size(); ++at) {
    const bool resolution = at >= 38 && at < 46;
    const uint8_t expected = !resolution ? plain[at] : at % 4 == 2 ? 0x13 : at % 4 == 3 ? 0x0B : 0;
    EXPECT_EQ(bytes[at], expected) << "byte " << at;
  }
}

TEST(BitmapFileHeaders, SizesOfTheWorkingPictures) {
  const struct {
    int width, height;
    uint32_t file_size;
  } cases[] = {
      {32, 32, 54 + 32 * 3 * 32},
      {512, 512, 54 + 512 * 3 * 512},
      {1280, 1024, 54 + 1280 * 3 * 1024},
      {1, 1, 54 + 4},
      {5, 3, 54 + 16 * 3},
  };
  for (const auto& c : cases) {
    const std::vector<uint8_t> bytes = BitmapFileHeaders(c.width, c.height);
    ASSERT_EQ(bytes.size(), kBitmapHeadersSize) << c.width;
    const uint32_t file_size = bytes[2] | bytes[3] << 8 | bytes[4] << 16 | static_cast<uint32_t>(bytes[5]) << 24;
    EXPECT_EQ(file_size, c.file_size) << c.width << "x" << c.height;
    EXPECT_EQ(bytes[18] | bytes[19] << 8, c.width & 0xFFFF);
    EXPECT_EQ(bytes[22] | bytes[23] << 8, c.height & 0xFFFF);
  }
}

TEST(BitmapRowStride, PadsToFourBytes) {
  const struct {
    int width;
    size_t stride;
  } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {152, 456}, {1280, 3840}, {0, 0}, {-4, 0}};
  for (const auto& c : cases) EXPECT_EQ(BitmapRowStride(c.width), c.stride) << c.width;
}

TEST(BitmapFileHeaders, RefusesSidesOutOfRange) {
  const int sides[][2] = {{0, 1}, {1, 0}, {-1, 5}, {5, -1}, {kMaxBitmapFileSide + 1, 1}, {1, kMaxBitmapFileSide + 1}};
  for (const auto& side : sides) EXPECT_TRUE(BitmapFileHeaders(side[0], side[1]).empty()) << side[0] << "x" << side[1];
  EXPECT_EQ(BitmapFileHeaders(kMaxBitmapFileSide, kMaxBitmapFileSide).size(), kBitmapHeadersSize);
}

TEST(MirrorRows, TurnsEveryRowAndKeepsThePadding) {
  // 3 x 2 pixels, rows of 9 bytes padded with 0xEE to 12.
  std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE,
                                 10, 11, 12, 13, 14, 15, 16, 17, 18, 0xEE, 0xEE, 0xEE};
  const std::vector<uint8_t> expected = {7, 8, 9, 4, 5, 6, 1, 2, 3, 0xEE, 0xEE, 0xEE,
                                         16, 17, 18, 13, 14, 15, 10, 11, 12, 0xEE, 0xEE, 0xEE};
  MirrorRows(pixels.data(), 3, 2);
  EXPECT_EQ(pixels, expected);
  std::vector<uint8_t> even = {1, 2, 3, 4, 5, 6, 0, 0};  // 2 x 1
  MirrorRows(even.data(), 2, 1);
  EXPECT_EQ(even, (std::vector<uint8_t>{4, 5, 6, 1, 2, 3, 0, 0}));
}
