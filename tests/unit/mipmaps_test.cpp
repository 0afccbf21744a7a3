// The mipmap chain built in place of gluBuild2DMipmaps: the sides GLU picks,
// its area-averaging scale and its rounded 2 x 2 halving.
#include "mipmaps.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

TEST(MipmapSide, RoundsToThePowerOfTwoGluPicks) {
  const int cases[][2] = {{1, 1},     {2, 2},       {3, 4},       {5, 4},       {6, 8},
                          {7, 8},     {512, 512},   {768, 1024},  {1080, 1024}, {1280, 1024},
                          {1536, 2048}, {1920, 2048}, {1024, 1024}, {0, 1}};
  for (const auto& c : cases) EXPECT_EQ(MipmapSide(c[0]), c[1]) << "side " << c[0];
}

TEST(ScaleRgbByArea, PartlyCoveredPixelsCountByTheirPart) {
  // Three pixels to two: each output covers one and a half source pixels.
  const Bytes in = {0, 0, 0, 30, 60, 90, 60, 120, 180};
  Bytes out(6);
  ScaleRgbByArea(in.data(), 3, 1, out.data(), 2, 1);
  EXPECT_EQ(out, (Bytes{10, 20, 30, 50, 100, 150}));
}

TEST(ScaleRgbByArea, FlatPicturesStayFlatAtAnySize) {
  const int sizes[][4] = {{1280, 4, 1024, 4}, {6, 5, 8, 4}, {1920, 3, 2048, 2}, {3, 1080, 2, 1024}};
  for (const auto& s : sizes) {
    Bytes in(static_cast<size_t>(s[0]) * s[1] * 3);
    for (size_t i = 0; i < in.size(); i += 3) in[i] = 255, in[i + 1] = 37, in[i + 2] = 1;
    Bytes out(static_cast<size_t>(s[2]) * s[3] * 3);
    ScaleRgbByArea(in.data(), s[0], s[1], out.data(), s[2], s[3]);
    for (size_t i = 0; i < out.size(); i += 3)
      ASSERT_EQ((Bytes{out[i], out[i + 1], out[i + 2]}), (Bytes{255, 37, 1})) << s[0] << "x" << s[1] << " at " << i;
  }
}

TEST(BuildMipmapChain, LevelsHalveDownToOnePixel) {
  struct Case {
    int width, height;
    std::vector<std::pair<int, int>> sides;
  };
  const Case cases[] = {
      {5, 3, {{4, 4}, {2, 2}, {1, 1}}},
      {6, 2, {{8, 2}, {4, 1}, {2, 1}, {1, 1}}},
      {1, 3, {{1, 4}, {1, 2}, {1, 1}}},
      {1280, 1024, {{1024, 1024}, {512, 512}, {256, 256}, {128, 128}, {64, 64}, {32, 32}, {16, 16}, {8, 8},
                    {4, 4}, {2, 2}, {1, 1}}},
  };
  for (const Case& c : cases) {
    const Bytes picture(static_cast<size_t>(c.width) * c.height * 3, 9);
    const std::vector<MipmapLevel> chain = BuildMipmapChain(picture.data(), c.width, c.height, 0);
    std::vector<std::pair<int, int>> sides;
    for (const MipmapLevel& level : chain) {
      sides.emplace_back(level.width, level.height);
      EXPECT_EQ(level.rgb.size(), static_cast<size_t>(level.width) * level.height * 3);
    }
    EXPECT_EQ(sides, c.sides) << c.width << "x" << c.height;
  }
}

TEST(BuildMipmapChain, HalvingTakesTheRoundedMeanOfEachBlock) {
  // 2 x 2 pixels, red 0, 1, 1, 1 (mean 0.75 rounds to 1); green 1, 1, 2, 2 (1.5 rounds to 2).
  const Bytes picture = {0, 1, 7, 1, 1, 7, 1, 2, 7, 1, 2, 8};
  const std::vector<MipmapLevel> chain = BuildMipmapChain(picture.data(), 2, 2, 0);
  ASSERT_EQ(chain.size(), 2u);
  EXPECT_EQ(chain[0].rgb, picture);  // already a power of two: kept as it is
  EXPECT_EQ(chain[1].rgb, (Bytes{1, 2, 7}));
}

TEST(BuildMipmapChain, AnExactHalfIsAHalvingAndTheLargestSideIsRespected) {
  // 6 x 6 picks 8 x 8; a limit of 4 halves that to 4 x 4, which is not an
  // exact half of 6, so the picture is scaled by area.
  const Bytes flat(6 * 6 * 3, 200);
  const std::vector<MipmapLevel> limited = BuildMipmapChain(flat.data(), 6, 6, 4);
  ASSERT_FALSE(limited.empty());
  EXPECT_EQ(limited[0].width, 4);
  EXPECT_EQ(limited[0].rgb, Bytes(4 * 4 * 3, 200));
  // 8 x 8 limited to 4: an exact half, each block's rounded mean.
  Bytes checker(8 * 8 * 3);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      for (int c = 0; c < 3; ++c) checker[(y * 8 + x) * 3 + c] = (x + y) % 2 ? 255 : 0;
  const std::vector<MipmapLevel> halved = BuildMipmapChain(checker.data(), 8, 8, 4);
  ASSERT_EQ(halved.size(), 3u);
  EXPECT_EQ(halved[0].rgb, Bytes(4 * 4 * 3, 128));  // (0 + 255 + 255 + 0 + 2) / 4
}

TEST(BuildMipmapChain, NoPixelsGiveNoLevels) {
  const Bytes one(3, 1);
  EXPECT_TRUE(BuildMipmapChain(nullptr, 4, 4, 0).empty());
  EXPECT_TRUE(BuildMipmapChain(one.data(), 0, 1, 0).empty());
  EXPECT_TRUE(BuildMipmapChain(one.data(), 1, -1, 0).empty());
}

TEST(BuildMipmapChain, AWidthOnlyScaleLeavesTheTopRowBlackAsGluDoes) {
  const Bytes flat(3 * 2 * 3, 90);  // 3 x 2 scales to 4 x 2
  const std::vector<MipmapLevel> chain = BuildMipmapChain(flat.data(), 3, 2, 0);
  ASSERT_FALSE(chain.empty());
  EXPECT_EQ(chain[0].rgb, (Bytes{90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90, 90,  // bottom row
                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(BuildMipmapChain, FourBytePixelsAreTheSameLevelsWithA255Added) {
  // Copied, halved exactly, scaled across only, and scaled both ways.
  const int sides[][2] = {{4, 2}, {8, 6}, {6, 3}, {5, 7}};
  for (const auto& side : sides) {
    Bytes picture(static_cast<size_t>(side[0]) * side[1] * 3);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<unsigned char>(i * 37 % 251);
    const std::vector<MipmapLevel> rgb = BuildMipmapChain(picture.data(), side[0], side[1], 0);
    const std::vector<MipmapLevel> rgba = BuildMipmapChain(picture.data(), side[0], side[1], 0, 4);
    ASSERT_EQ(rgba.size(), rgb.size());
    for (size_t level = 0; level < rgb.size(); ++level) {
      Bytes widened;
      for (size_t i = 0; i < rgb[level].rgb.size(); i += 3)
        widened.insert(widened.end(), {rgb[level].rgb[i], rgb[level].rgb[i + 1], rgb[level].rgb[i + 2], 255});
      EXPECT_EQ(rgba[level].pixel_bytes, 4);
      EXPECT_EQ(rgba[level].rgb, widened) << side[0] << "x" << side[1] << " level " << level;
    }
  }
}

}  // namespace
