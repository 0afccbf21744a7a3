// The hack's -ground pictures: BMP, PNG and JPEG, each mirrored as the
// desktop is.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <memory>

#include "bmp_builder.h"
#include "file_bytes.h"
#include "ground_picture.h"
#include "png_io.h"
#include "test_temp.h"

namespace {

// A 16 x 8 picture, red on the left half and blue on the right (bottom row
// first, as frames are).
FramePixels RedThenBlue() {
  FramePixels frame;
  frame.width = 16;
  frame.height = 8;
  for (int i = 0; i < 16 * 8; ++i) {
    const bool left = i % 16 < 8;
    frame.rgb.insert(frame.rgb.end(), {static_cast<unsigned char>(left ? 255 : 0), 0,
                                       static_cast<unsigned char>(left ? 0 : 255)});
  }
  return frame;
}

std::string WriteBmp(const FramePixels& frame) {
  bmp::Bytes pixels;
  for (size_t i = 0; i < frame.rgb.size(); i += 3)
    pixels.insert(pixels.end(), {frame.rgb[i + 2], frame.rgb[i + 1], frame.rgb[i]});
  const std::string path = TestTempPath("ground.bmp");
  EXPECT_TRUE(WriteTestFile(path, bmp::Plain24(frame.width, frame.height, pixels)));
  return path;
}

std::string WritePngFile(const FramePixels& frame) {
  const std::string path = TestTempPath("ground.png");
  std::string error;
  EXPECT_TRUE(WritePng(path, frame, &error)) << error;
  return path;
}

std::string WriteJpeg(const FramePixels& frame) {
  const std::string path = TestTempPath("ground.jpg");
  std::FILE* file = std::fopen(path.c_str(), "wb");
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = frame.width;
  info.image_height = frame.height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  for (int y = frame.height - 1; y >= 0; --y) {  // JPEG rows run top down
    JSAMPROW row = const_cast<unsigned char*>(frame.rgb.data()) + y * frame.width * 3;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
  return path;
}

TEST(GroundPicture, EachFormatIsReadAndMirrored) {
  const FramePixels frame = RedThenBlue();
  for (const std::string& path : {WriteBmp(frame), WritePngFile(frame), WriteJpeg(frame)}) {
    std::string error;
    std::unique_ptr<RgbImage, RgbImageFree> image(ReadGroundPicture(path, &error));
    ASSERT_TRUE(image) << path << ": " << error;
    ASSERT_EQ(image->width, 16) << path;
    ASSERT_EQ(image->height, 8) << path;
    for (int y : {0, 7}) {
      const unsigned char* row = image->pixels + y * 16 * 3;
      EXPECT_NEAR(row[2 * 3 + 2], 255, 8) << path << ": blue now on the left, row " << y;
      EXPECT_NEAR(row[13 * 3 + 0], 255, 8) << path << ": red now on the right, row " << y;
      EXPECT_NEAR(row[13 * 3 + 2], 0, 8) << path << ", row " << y;
    }
  }
}

TEST(GroundPicture, OtherFilesAreRefusedWithTheirName) {
  // A whole header and a cut-off picture: libjpeg would fill the rest with grey.
  std::vector<unsigned char> cut;
  ASSERT_EQ(ReadFileBytes(WriteJpeg(RedThenBlue()).c_str(), cut), FileRead::kRead);
  cut.resize(cut.size() * 2 / 3);
  const struct {
    const char* name;
    std::vector<unsigned char> bytes;  // none: the file is not there
  } files[] = {{"ground.txt", {'h', 'e', 'l', 'l', 'o'}}, {"short.png", {0x89, 'P', 'N', 'G', 13, 10}},
               {"short.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16}}, {"cut.jpg", cut}, {"missing.bmp", {}}};
  for (const auto& file : files) {
    const std::string path = TestTempPath(file.name);
    if (!file.bytes.empty()) ASSERT_TRUE(WriteTestFile(path, file.bytes));
    std::string error;
    EXPECT_EQ(ReadGroundPicture(path, &error), nullptr) << path;
    EXPECT_NE(error.find(path), std::string::npos) << error;
  }
}

}  // namespace
