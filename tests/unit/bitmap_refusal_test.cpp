// Files the decoder refuses, each with exactly one message and nothing read
// outside the bytes given; and reading whole files from disk.
#include <gtest/gtest.h>

#include <cstdio>

#include "bmp_builder.h"
#include "test_temp.h"

namespace {

using Messages = std::vector<std::string>;

// A valid 24-bit file of the given size, for variants to spoil.
bmp::Options Plain24(int32_t width = 4, int32_t height = 2) {
  bmp::Options o;
  o.width = width;
  o.height = height;
  o.pixels.assign(static_cast<size_t>((width * 3 + 3) / 4 * 4) * height, 0x5a);
  return o;
}

// Decodes file and expects a refusal with exactly the one message.
void ExpectRefused(const bmp::Bytes& file, const char* message) {
  const bmp::Decoded d = bmp::Decode(file);
  EXPECT_FALSE(d.ok);
  EXPECT_EQ(d.messages, Messages{message});
}

TEST(BitmapRefusal, LargerHeadersAreAnUnknownFormatAndNothingElse) {
  for (uint32_t size : {108u, 124u, 64u, 0u, 11u}) {
    for (bool file_header : {true, false}) {
      bmp::Options o = Plain24();
      o.header_size = size;
      o.file_header = file_header;
      SCOPED_TRACE(size);
      ExpectRefused(bmp::Build(o), kUnknownFormatText);
    }
  }
}

TEST(BitmapRefusal, HeadersCutShortAreAnUnknownFormat) {
  const bmp::Bytes whole = bmp::Build(Plain24());
  for (size_t length : {size_t{0}, size_t{1}, size_t{2}, size_t{13}, size_t{17}, size_t{20}, size_t{53}}) {
    SCOPED_TRACE(length);
    ExpectRefused(bmp::Bytes(whole.begin(), whole.begin() + length), kUnknownFormatText);
  }
  EXPECT_EQ(DecodeBitmap(nullptr, 0, nullptr), nullptr);
}

TEST(BitmapRefusal, UnconvertibleDepthsCompressionsAndDimensions) {
  std::vector<bmp::Options> bad;
  auto spoil = [&](auto change) {
    bmp::Options o = Plain24();
    change(o);
    bad.push_back(o);
  };
  spoil([](bmp::Options& o) { o.width = 0; });
  spoil([](bmp::Options& o) { o.width = -4; });
  spoil([](bmp::Options& o) { o.height = 0; });
  spoil([](bmp::Options& o) { o.bits = 2; });
  spoil([](bmp::Options& o) { o.bits = 0; });
  spoil([](bmp::Options& o) { o.planes = 0; });
  spoil([](bmp::Options& o) { o.compression = 4; });  // JPEG
  spoil([](bmp::Options& o) { o.compression = 1; });  // RLE8 at 24 bits
  spoil([](bmp::Options& o) { o.compression = 3; o.masks = {0xff0000, 0xff00, 0xff}; });  // bit fields at 24 bits
  spoil([](bmp::Options& o) { o.bits = 16; o.compression = 3; o.masks = {0x7c00, 0, 0x1f}; });  // a zero mask
  spoil([](bmp::Options& o) { o.bits = 32; o.compression = 3; o.pixels.resize(o.pixels.size() + 4); });  // no masks
  for (size_t i = 0; i < bad.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectRefused(bmp::Build(bad[i]), kConversionErrorText);
  }
}

TEST(BitmapRefusal, PixelsOrPaletteOutsideTheFileAreAConversionError) {
  bmp::Options past_end = Plain24();
  past_end.override_offset = true;
  past_end.pixel_offset = 0xfffffff0u;
  ExpectRefused(bmp::Build(past_end), kConversionErrorText);

  bmp::Options last_row_short = Plain24(3, 2);  // rows of 9 bytes padded to 12
  last_row_short.pixels.resize(last_row_short.pixels.size() - 1);
  ExpectRefused(bmp::Build(last_row_short), kConversionErrorText);

  bmp::Options no_palette;
  no_palette.bits = 8;
  no_palette.file_header = false;
  no_palette.palette.resize(3);  // 256 entries declared
  ExpectRefused(bmp::Build(no_palette), kConversionErrorText);
}

TEST(BitmapRefusal, SizesThatCannotFitAreRefusedBeforeAllocating) {
  // Rows whose byte count overflows 32 bits, and products past 2^64.
  bmp::Options wide = Plain24(1, 1);
  wide.bits = 32;
  wide.width = 0x40000000;
  ExpectRefused(bmp::Build(wide), kConversionErrorText);
  bmp::Options huge = Plain24(1, 1);
  huge.width = 0x7fffffff;
  huge.height = -0x7fffffff - 1;
  const bmp::Decoded d = bmp::Decode(bmp::Build(huge));
  EXPECT_FALSE(d.ok);
  EXPECT_EQ(d.messages.size(), 1u);

  // An RLE stream can claim any size in a few bytes: the bounds refuse it.
  bmp::Options rle;
  rle.width = kMaxBitmapSide + 1;
  rle.bits = 8;
  rle.compression = 1;
  rle.palette.resize(256);
  rle.pixels = {0, 1};
  ExpectRefused(bmp::Build(rle), kOutOfMemoryText);
  rle.width = kMaxBitmapSide;
  rle.height = kMaxBitmapSide;  // 768 MiB of output
  ExpectRefused(bmp::Build(rle), kOutOfMemoryText);
}

TEST(BitmapRefusal, TheOutputBoundIsExact) {
  const bmp::Bytes file = bmp::Build(Plain24(10, 10));
  EXPECT_TRUE(bmp::Decode(file, 300).ok);
  const bmp::Decoded d = bmp::Decode(file, 299);
  EXPECT_FALSE(d.ok);
  EXPECT_EQ(d.messages, Messages{kOutOfMemoryText});
}

// A scratch folder for files on disk, removed afterwards.
class BitmapFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(folder_.path().empty()); }
  // Writes bytes to name in the folder and returns its path.
  std::string Write(const char* name, const bmp::Bytes& bytes) {
    const std::string path = folder_ / name;
    WriteTestFile(path, bytes);
    return path;
  }
  ScratchFolder folder_;
};

TEST_F(BitmapFile, AnEmptyOrMissingFileReportsTheOpenFailureWithItsPath) {
  for (const std::string& path : {Write("empty.bmp", {}), folder_ / "missing.bmp"}) {
    bmp::Reported().clear();
    EXPECT_EQ(ReadBitmapImageFile(path.c_str(), bmp::Collect), nullptr);
    EXPECT_EQ(bmp::Reported(), Messages{"Failed to open DIB file " + path + ".\n"});
  }
}

TEST_F(BitmapFile, AWholeFileIsReadAndDecoded) {
  bmp::Options o = Plain24(2, 1);
  o.pixels = bmp::PackRows({{0x112233, 0x445566}}, 24);
  const std::string path = Write("two.bmp", bmp::Build(o));
  bmp::Reported().clear();
  RgbImage* image = ReadBitmapImageFile(path.c_str(), bmp::Collect);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width, 2);
  EXPECT_EQ(image->pixels[3], 0x44);
  EXPECT_TRUE(bmp::Reported().empty());
  FreeRgbImage(image);

  o.header_size = 124;
  const std::string v5 = Write("v5.bmp", bmp::Build(o));
  EXPECT_EQ(ReadBitmapImageFile(v5.c_str(), bmp::Collect), nullptr);
  EXPECT_EQ(bmp::Reported(), Messages{kUnknownFormatText});
}

}  // namespace
