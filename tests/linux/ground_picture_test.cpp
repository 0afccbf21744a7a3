// The hack's -ground pictures: BMP, PNG and JPEG, each mirrored as the
// desktop is.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
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

// The reason ReadGroundPicture gives for path, with "cannot read PATH: " cut off.
std::string ReasonFor(const std::string& path) {
  std::string error;
  std::unique_ptr<RgbImage, RgbImageFree> image(ReadGroundPicture(path, &error));
  const std::string prefix = "cannot read " + path + ": ";
  if (image) return "read";
  return error.compare(0, prefix.size(), prefix) == 0 ? error.substr(prefix.size()) : "unnamed: " + error;
}

TEST(GroundPicture, OtherFilesAreRefusedWithTheirNameAndWhatIsWrong) {
  // A whole header and a cut-off picture: libjpeg would fill the rest with grey.
  std::vector<unsigned char> cut, cut_bmp = bmp::Plain24(4, 4, std::vector<unsigned char>(40, 0));
  ASSERT_EQ(ReadFileBytes(WriteJpeg(RedThenBlue()).c_str(), cut), FileRead::kRead);
  cut.resize(cut.size() * 2 / 3);
  const struct {
    const char* name;
    std::vector<unsigned char> bytes;
    const char* reason;
  } files[] = {{"empty.png", {}, "not a picture"}, {"ground.txt", {'h', 'e', 'l', 'l', 'o'}, "not a picture"},
               {"short.png", {0x89, 'P', 'N', 'G', 13, 10}, "a damaged PNG picture"},
               {"short.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16}, "a damaged JPEG picture"},
               {"cut.jpg", cut, "a damaged JPEG picture"}, {"cut.bmp", cut_bmp, "a damaged or unsupported bitmap"},
               {"missing.bmp", {}, "No such file or directory"}};
  for (const auto& file : files) {
    const std::string path = TestTempPath(file.name);
    ASSERT_TRUE(file.name == std::string("missing.bmp") || WriteTestFile(path, file.bytes)) << path;
    EXPECT_EQ(ReasonFor(path), file.reason) << file.name;
  }
  EXPECT_EQ(ReasonFor("/dev/zero"), "not a picture");
  EXPECT_EQ(ReasonFor(ProgramScratchFolder().path()), "Is a directory");
}

// Prints path's reason in a child with 64 MB more address space than it holds,
// far below any refused claim (AddressSanitizer reserves more); as_nobody: as
// "nobody" when root, who reads any file.
void PrintReasonHeldBack(const std::string& path, bool as_nobody = false) {
  if (as_nobody && geteuid() == 0 && setuid(65534) != 0) _exit(2);
#if !defined(__SANITIZE_ADDRESS__)
  rlim_t pages = 0;
  std::ifstream("/proc/self/statm") >> pages;
  const rlim_t limit = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{64} << 20);
  const rlimit bounds = {limit, limit};
  setrlimit(RLIMIT_AS, &bounds);
#endif
  std::fputs(ReasonFor(path).c_str(), stderr);
  _exit(0);
}

TEST(GroundPictureDeathTest, AFileItMayNotReadGivesTheSystemsReason) {
  const std::string path = TestTempPath("secret.bmp");
  ASSERT_TRUE(WriteTestFile(path, bmp::Plain24(1, 1, {1, 2, 3, 0})));
  ASSERT_EQ(chmod(path.c_str(), 0), 0);  // and the scratch folder is root's alone
  EXPECT_EXIT(PrintReasonHeldBack(path, true), ::testing::ExitedWithCode(0), "^Permission denied$");
}

// The PNG or JPEG picture with its header claiming width x height (PNG: checksum mended).
std::string WithClaimedSize(const std::string& picture, uint32_t width, uint32_t height) {
  std::vector<unsigned char> bytes;
  EXPECT_EQ(ReadFileBytes(picture.c_str(), bytes), FileRead::kRead);
  const auto Store = [&](size_t at, uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * (count - 1 - i)));
  };
  size_t frame = 2;  // JPEG: the baseline frame header's marker, then length, precision, height, width
  while (frame + 9 < bytes.size() && !(bytes[frame] == 0xFF && bytes[frame + 1] == 0xC0)) ++frame;
  const bool png = bytes[0] == 0x89;  // IHDR: length, type, width, height, ..., checksum of type and data
  Store(png ? 16 : frame + 7, width, png ? 4 : 2);
  Store(png ? 20 : frame + 5, height, png ? 4 : 2);
  if (png) Store(29, static_cast<uint32_t>(crc32(0, bytes.data() + 12, 17)), 4);
  const std::string path = picture + "." + std::to_string(width) + "x" + std::to_string(height);
  EXPECT_TRUE(WriteTestFile(path, bytes));
  return path;
}

TEST(GroundPictureDeathTest, ClaimsBeyondTheBitmapBoundsAreRefusedBeforeAllocating) {
  const struct {
    uint32_t width, height;
    bool refused;  // a claim within the bounds fails only on the missing data
  } claims[] = {{20000, 20000, true}, {16385, 1, true}, {1, 16385, true}, {16384, 16384, true}, {16384, 2, false}};
  for (const std::string& picture : {WritePngFile(RedThenBlue()), WriteJpeg(RedThenBlue())}) {
    for (const auto& claim : claims) {
      const std::string size = std::to_string(claim.width) + " x " + std::to_string(claim.height);
      EXPECT_EXIT(PrintReasonHeldBack(WithClaimedSize(picture, claim.width, claim.height)),
                  ::testing::ExitedWithCode(0),
                  claim.refused ? "^too large \\(" + size + " pixels\\)$" : "^a damaged (PNG|JPEG) picture$")
          << picture << ": " << size;
    }
  }
}

}  // namespace
