// The renderer's own mipmap chain against the levels gluBuild2DMipmaps makes
// in a real context, level by level, for the bundled desktop picture and the
// wider captures desktops give: same sides, and texels within the golden
// frames' tolerance.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bitmap_decoder.h"
#include "gl.h"
#include "mipmaps.h"
#include "offscreen_gl.h"

namespace {

constexpr int kTolerance = 3;              // levels per channel, as for the golden frames
constexpr double kStrayTexelShare = 0.002;  // of a level's texels, beyond kTolerance

// Every level GLU builds from the picture, read back from GL.
std::vector<MipmapLevel> GluLevels(const unsigned char* rgb, int width, int height) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  std::vector<MipmapLevel> levels;
  for (int i = 0;; ++i) {
    MipmapLevel level;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, i, GL_TEXTURE_WIDTH, &level.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, i, GL_TEXTURE_HEIGHT, &level.height);
    if (level.width == 0 || level.height == 0) break;
    level.rgb.resize(static_cast<size_t>(level.width) * level.height * 3);
    glGetTexImage(GL_TEXTURE_2D, i, GL_RGB, GL_UNSIGNED_BYTE, level.rgb.data());
    levels.push_back(level);
  }
  glDeleteTextures(1, &name);
  return levels;
}

// The bundled desktop picture, tiled (or cut) to width x height.
std::vector<unsigned char> Desktop(const RgbImage& bundled, int width, int height) {
  std::vector<unsigned char> out(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        out[(static_cast<size_t>(y) * width + x) * 3 + c] =
            bundled.pixels[(static_cast<size_t>(y % bundled.height) * bundled.width + x % bundled.width) * 3 + c];
  return out;
}

class MipmapLevels : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(MipmapLevels, MatchGluWithinTheGoldenTolerance) {
  const int width = GetParam().first, height = GetParam().second;
  OffscreenGl gl;
  ASSERT_TRUE(gl.Create(64, 64)) << gl.error();
  RgbImage* bundled = ReadBitmapImageFile(SKYLINER_SOURCE_ASSETS "/sample-desktop.bmp", nullptr);
  ASSERT_NE(bundled, nullptr);
  const std::vector<unsigned char> picture = Desktop(*bundled, width, height);
  FreeRgbImage(bundled);
  GLint max_side = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);

  const std::vector<MipmapLevel> glu = GluLevels(picture.data(), width, height);
  const std::vector<MipmapLevel> ours = BuildMipmapChain(picture.data(), width, height, max_side);
  ASSERT_EQ(ours.size(), glu.size());
  for (size_t i = 0; i < glu.size(); ++i) {
    ASSERT_EQ(ours[i].width, glu[i].width) << "level " << i;
    ASSERT_EQ(ours[i].height, glu[i].height) << "level " << i;
    long beyond = 0;
    int largest = 0;
    for (size_t k = 0; k < glu[i].rgb.size(); ++k) {
      const int difference = std::abs(ours[i].rgb[k] - glu[i].rgb[k]);
      largest = std::max(largest, difference);
      beyond += difference > kTolerance;
    }
    std::printf("level %zu (%dx%d): largest difference %d, %ld channel values beyond %d\n", i, glu[i].width,
                glu[i].height, largest, beyond, kTolerance);
    EXPECT_LE(beyond, static_cast<long>(kStrayTexelShare * static_cast<double>(glu[i].rgb.size())))
        << "level " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Desktops, MipmapLevels,
                         testing::Values(std::make_pair(1280, 1024), std::make_pair(1920, 1080),
                                         std::make_pair(1024, 768), std::make_pair(1366, 768),
                                         std::make_pair(1600, 900), std::make_pair(800, 512),
                                         std::make_pair(37, 5)),
                         [](const testing::TestParamInfo<std::pair<int, int>>& info) {
                           return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

}  // namespace
