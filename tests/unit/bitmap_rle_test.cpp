// RLE8 and RLE4 streams: encoded and absolute runs, end of line, delta, end
// of bitmap, clipping at the row's end, and streams cut short.
#include <gtest/gtest.h>

#include "bmp_builder.h"

namespace {

// A 256-entry table whose entries all differ.
std::vector<bmp::Rgb> Palette256() {
  std::vector<bmp::Rgb> p;
  for (int i = 0; i < 256; ++i)
    p.push_back({static_cast<unsigned char>(i), static_cast<unsigned char>(255 - i),
                 static_cast<unsigned char>(i ^ 0x55)});
  return p;
}

// An RLE file of the given depth (8 or 4) holding stream.
bmp::Options RleFile(int bits, int width, int height, bmp::Bytes stream) {
  bmp::Options o;
  o.width = width;
  o.height = height;
  o.bits = static_cast<uint16_t>(bits);
  o.compression = bits == 8 ? 1 : 2;
  o.palette = Palette256();
  o.palette.resize(size_t{1} << bits);
  o.image_size = static_cast<uint32_t>(stream.size());
  o.pixels = std::move(stream);
  return o;
}

// Checks row y of d against colour indices of palette (-1 = black).
void ExpectRow(const bmp::Decoded& d, const bmp::Options& o, int y, const std::vector<int>& indices) {
  ASSERT_EQ(static_cast<int>(indices.size()), d.width);
  for (int x = 0; x < d.width; ++x) {
    const bmp::Rgb want = indices[x] < 0 ? bmp::kBlack : o.palette[indices[x]];
    EXPECT_EQ(d.At(x, y), want) << "x=" << x << " y=" << y;
  }
}

TEST(BitmapRle8, RunsAbsoluteRunsDeltaAndClippingGiveTheStoredPixels) {
  const bmp::Options o = RleFile(8, 6, 4, {
      3, 10, 0, 3, 20, 21, 22, 0,  // run of 3, absolute run of 3 (padded), then
      0, 0,                        // end of line
      2, 30, 0, 2, 2, 0, 2, 31,    // run, delta 2 right, run
      0, 0,                        //
      10, 40,                      // a run longer than the row is clipped
      0, 0,                        //
      0, 2, 1, 0,                  // delta one column right
      0, 4, 50, 51, 52, 53,        // absolute run of 4 (no padding needed)
      0, 1});                      // end of bitmap
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok) << (d.messages.empty() ? "" : d.messages[0]);
  ASSERT_EQ(d.height, 4);
  ExpectRow(d, o, 0, {10, 10, 10, 20, 21, 22});
  ExpectRow(d, o, 1, {30, 30, -1, -1, 31, 31});
  ExpectRow(d, o, 2, {40, 40, 40, 40, 40, 40});
  ExpectRow(d, o, 3, {-1, 50, 51, 52, 53, -1});
}

TEST(BitmapRle8, TheLongestAbsoluteRunSkipsItsPaddingByte) {
  bmp::Bytes stream = {0, 255};
  for (int i = 0; i < 255; ++i) stream.push_back(static_cast<unsigned char>(i));
  stream.push_back(0xee);  // padding, never a pixel or a code
  stream.insert(stream.end(), {0, 0, 1, 9, 0, 1});
  const bmp::Options o = RleFile(8, 255, 2, stream);
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok);
  for (int x = 0; x < 255; ++x) ASSERT_EQ(d.At(x, 0), o.palette[x]) << x;
  EXPECT_EQ(d.At(0, 1), o.palette[9]);
  EXPECT_EQ(d.At(1, 1), bmp::kBlack);
}

TEST(BitmapRle8, DeltaAcrossRowsLeavesSkippedPixelsBlack) {
  const bmp::Options o = RleFile(8, 4, 3, {1, 7, 0, 2, 2, 2, 2, 9, 0, 1});
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok);
  ExpectRow(d, o, 0, {7, -1, -1, -1});
  ExpectRow(d, o, 1, {-1, -1, -1, -1});
  ExpectRow(d, o, 2, {-1, -1, -1, 9});
}

TEST(BitmapRle8, AbsoluteRunLongerThanTheRowIsClippedButFullySkipped) {
  const bmp::Options o = RleFile(8, 2, 2, {0, 5, 1, 2, 3, 4, 5, 0, 0, 0, 1, 6, 0, 1});
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok);
  ExpectRow(d, o, 0, {1, 2});
  ExpectRow(d, o, 1, {6, -1});
}

TEST(BitmapRle8, PixelsAfterTheLastEscapeAreNotDrawnWhenTheStreamRunsOut) {
  // GDI draws a run only once an escape code closes it.
  const bmp::Options cut = RleFile(8, 4, 2, {2, 5, 0, 0, 3, 6});
  const bmp::Decoded d = bmp::Decode(bmp::Build(cut));
  ASSERT_TRUE(d.ok);
  ExpectRow(d, cut, 0, {5, 5, -1, -1});
  ExpectRow(d, cut, 1, {-1, -1, -1, -1});

  // An absolute run whose bytes are missing ends the stream the same way.
  const bmp::Options short_run = RleFile(8, 4, 1, {0, 2, 1, 4, 0, 9, 0, 5, 7});
  const bmp::Decoded e = bmp::Decode(bmp::Build(short_run));
  ASSERT_TRUE(e.ok);
  ExpectRow(e, short_run, 0, {-1, -1, -1, -1});
}

TEST(BitmapRle8, TheStreamIsBoundedByTheImageSizeField) {
  bmp::Options o = RleFile(8, 2, 1, {1, 3, 0, 0, 1, 4, 0, 1});
  o.image_size = 4;  // the second run lies beyond it
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok);
  ExpectRow(d, o, 0, {3, -1});
}

TEST(BitmapRle8, AnImageSizeOfZeroReadsToTheEndOfTheFile) {
  bmp::Options o = RleFile(8, 3, 1, {3, 8, 0, 1});
  o.image_size = 0;
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok);
  ExpectRow(d, o, 0, {8, 8, 8});
}

TEST(BitmapRle4, NibblesAlternateFromTheRunsStartAtEvenAndOddColumns) {
  const bmp::Options o = RleFile(4, 7, 2, {
      5, 0x12,               // 1 2 1 2 1
      0, 3, 0x34, 0x50,      // absolute 3 at column 5, clipped to 3 4
      0, 0,                  //
      0, 2, 1, 0,            // delta one column right
      0, 4, 0xab, 0xcd,      // absolute 4 starting at an odd column
      2, 0xef,               // run starting at an odd column
      0, 1});
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok) << (d.messages.empty() ? "" : d.messages[0]);
  ExpectRow(d, o, 0, {1, 2, 1, 2, 1, 3, 4});
  ExpectRow(d, o, 1, {-1, 0xa, 0xb, 0xc, 0xd, 0xe, 0xf});
}

TEST(BitmapRle4, OddAbsoluteRunsArePaddedToWholeWords) {
  const bmp::Options o = RleFile(4, 6, 1, {0, 5, 0x12, 0x34, 0x50, 0, 1, 0x66, 0, 1});
  const bmp::Decoded d = bmp::Decode(bmp::Build(o));
  ASSERT_TRUE(d.ok);
  ExpectRow(d, o, 0, {1, 2, 3, 4, 5, 6});
}

TEST(BitmapRle, DepthMismatchAndTopDownStreamsAreRefused) {
  bmp::Options rle8_at_4 = RleFile(8, 2, 1, {2, 1, 0, 1});
  rle8_at_4.bits = 4;
  rle8_at_4.palette.resize(16);
  bmp::Options top_down = RleFile(8, 2, 1, {2, 1, 0, 1});
  top_down.height = -1;
  for (const bmp::Options& o : {rle8_at_4, top_down}) {
    const bmp::Decoded d = bmp::Decode(bmp::Build(o));
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.messages, std::vector<std::string>{kConversionErrorText});
  }
}

}  // namespace
