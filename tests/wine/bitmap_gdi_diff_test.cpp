// Differential test, run under Wine: every bitmap variant the portable decoder
// supports is read through GDI (file mapping, SetDIBits into a 24-bit DIB
// section) and through DecodeBitmap, and the two results must agree pixel for
// pixel. Broken files must be refused by both with the same message. Where GDI
// refuses a file, the test prints what the decoder did. The renderer's reader,
// which copies plain 24-bit files without GDI, must give what GDI gives.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bmp_builder.h"
#include "gdi_bitmap_reader.h"

namespace {

using bmp::Bytes;
using bmp::Options;
using bmp::Rgb;

struct Case {
  std::string name;
  Bytes file;
};

// Names a case in test output instead of dumping its bytes.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

// A deterministic pseudo-random source, so every run builds the same corpus.
struct Random {
  uint32_t state = 12345;
  uint32_t Next() {
    state = state * 1103515245u + 12345u;
    return state >> 8;
  }
};

// n distinct-looking palette colours.
std::vector<Rgb> Palette(Random& random, int n) {
  std::vector<Rgb> colours;
  for (int i = 0; i < n; ++i) {
    const uint32_t v = random.Next();
    colours.push_back({static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                       static_cast<unsigned char>(v >> 16)});
  }
  return colours;
}

// Rows of random values below limit (a palette size, or 2^bits for direct colour).
std::vector<std::vector<uint32_t>> RandomRows(Random& random, int width, int height, uint64_t limit) {
  std::vector<std::vector<uint32_t>> rows(height, std::vector<uint32_t>(width));
  for (auto& row : rows)
    for (auto& v : row) v = static_cast<uint32_t>((static_cast<uint64_t>(random.Next()) << 8 ^ random.Next()) % limit);
  return rows;
}

// The header fields every generated case sets.
Options Layout(int bits, int width, int height, uint32_t header_size, bool file_header, bool top_down) {
  Options o;
  o.header_size = header_size;
  o.file_header = file_header;
  o.width = width;
  o.height = top_down ? -height : height;
  o.bits = static_cast<uint16_t>(bits);
  return o;
}

// A palette bitmap (1/4/8 bits) with random indices.
Case PaletteCase(const std::string& name, Random& random, int bits, int width, int height,
                 uint32_t header_size = 40, bool file_header = true, bool top_down = false, int colors_used = 0) {
  Options o = Layout(bits, width, height, header_size, file_header, top_down);
  o.colors_used = static_cast<uint32_t>(colors_used);
  const int entries = colors_used ? colors_used : 1 << bits;
  o.palette = Palette(random, entries);
  o.pixels = bmp::PackRows(RandomRows(random, width, height, static_cast<uint64_t>(entries)), bits);
  return {name, bmp::Build(o)};
}

// A direct-colour bitmap (16/24/32 bits) with random pixel words; masks make it BI_BITFIELDS.
Case DirectCase(const std::string& name, Random& random, int bits, int width, int height,
                std::vector<uint32_t> masks = {}, uint32_t header_size = 40, bool file_header = true,
                bool top_down = false) {
  Options o = Layout(bits, width, height, header_size, file_header, top_down);
  o.compression = masks.empty() ? 0 : 3;
  o.masks = masks;
  o.pixels = bmp::PackRows(RandomRows(random, width, height, uint64_t{1} << bits), bits);
  return {name, bmp::Build(o)};
}

// An RLE8 or RLE4 bitmap with the given code stream.
Case RleCase(const std::string& name, Random& random, int bits, int width, int height, Bytes stream,
             uint32_t image_size = 0) {
  Options o;
  o.width = width;
  o.height = height;
  o.bits = static_cast<uint16_t>(bits);
  o.compression = bits == 8 ? 1 : 2;
  o.palette = Palette(random, 1 << bits);
  o.image_size = image_size ? image_size : static_cast<uint32_t>(stream.size());
  o.pixels = std::move(stream);
  return {name, bmp::Build(o)};
}

// A stream with encoded runs, absolute runs, a delta, end-of-line and end-of-bitmap codes.
Bytes MixedRleStream(int bits, int width, int height) {
  Bytes s;
  const unsigned char colour = bits == 8 ? 7 : 0x3c;
  for (int row = 0; row < height; ++row) {
    if (row == 2) {  // delta: 3 right, 1 up, then a short run
      s.insert(s.end(), {0, 2, 3, 1, 2, colour});
      s.insert(s.end(), {0, 0});
      ++row;
      continue;
    }
    s.insert(s.end(), {3, static_cast<unsigned char>(colour + row)});   // encoded run of 3
    s.insert(s.end(), {0, 5});                                          // absolute run of 5
    if (bits == 8) s.insert(s.end(), {1, 2, 3, 4, 5, 0});               // 5 bytes + pad
    else s.insert(s.end(), {0x12, 0x34, 0x50, 0});                      // 3 bytes + pad
    s.insert(s.end(), {static_cast<unsigned char>(width), 9});          // run to (past) the end: clipped
    s.insert(s.end(), {0, 0});                                          // end of line
  }
  s.insert(s.end(), {0, 1});  // end of bitmap
  return s;
}

// Every variant the portable decoder supports.
std::vector<Case> SupportedCorpus() {
  Random r;
  std::vector<Case> c;
  c.push_back(PaletteCase("1bit_info", r, 1, 13, 5));
  c.push_back(PaletteCase("1bit_core", r, 1, 9, 4, 12));
  c.push_back(PaletteCase("1bit_top_down", r, 1, 17, 3, 40, true, true));
  c.push_back(PaletteCase("1bit_no_file_header", r, 1, 8, 2, 40, false));
  c.push_back(PaletteCase("4bit_info", r, 4, 7, 6));
  c.push_back(PaletteCase("4bit_core", r, 4, 5, 3, 12));
  c.push_back(PaletteCase("4bit_top_down", r, 4, 6, 4, 40, true, true));
  c.push_back(PaletteCase("8bit_info", r, 8, 5, 4));
  c.push_back(PaletteCase("8bit_colors_used_20", r, 8, 9, 3, 40, true, false, 20));
  c.push_back(PaletteCase("8bit_core", r, 8, 6, 3, 12));
  c.push_back(PaletteCase("8bit_core_no_file_header", r, 8, 3, 5, 12, false));
  c.push_back(PaletteCase("8bit_top_down", r, 8, 7, 5, 40, true, true));
  c.push_back(RleCase("rle8", r, 8, 12, 6, MixedRleStream(8, 12, 6)));
  c.push_back(RleCase("rle4", r, 4, 11, 5, MixedRleStream(4, 11, 5)));
  c.push_back(DirectCase("16bit_rgb_555", r, 16, 9, 4));
  c.push_back(DirectCase("16bit_bitfields_565", r, 16, 7, 5, {0xf800, 0x07e0, 0x001f}));
  c.push_back(DirectCase("16bit_bitfields_555", r, 16, 6, 3, {0x7c00, 0x03e0, 0x001f}));
  c.push_back(DirectCase("16bit_565_top_down", r, 16, 5, 4, {0xf800, 0x07e0, 0x001f}, 40, true, true));
  c.push_back(DirectCase("16bit_565_no_file_header", r, 16, 3, 3, {0xf800, 0x07e0, 0x001f}, 40, false));
  for (int width = 1; width <= 8; ++width)
    c.push_back(DirectCase("24bit_width_" + std::to_string(width), r, 24, width, 3));
  c.push_back(DirectCase("24bit_core", r, 24, 5, 2, {}, 12));
  c.push_back(DirectCase("24bit_no_file_header", r, 24, 3, 3, {}, 40, false));
  c.push_back(DirectCase("24bit_core_no_file_header", r, 24, 7, 2, {}, 12, false));
  c.push_back(DirectCase("24bit_top_down", r, 24, 7, 4, {}, 40, true, true));
  c.push_back(DirectCase("24bit_67x33", r, 24, 67, 33));
  c.push_back(DirectCase("32bit_rgb", r, 32, 5, 3));
  c.push_back(DirectCase("32bit_bitfields", r, 32, 6, 2, {0xff0000, 0x00ff00, 0x0000ff}));
  c.push_back(DirectCase("32bit_bitfields_bgr", r, 32, 4, 4, {0x0000ff, 0x00ff00, 0xff0000}));
  c.push_back(DirectCase("32bit_top_down", r, 32, 3, 5, {}, 40, true, true));
  return c;
}

// Streams and palettes at the edges of the format, where GDI's own reading decides.
std::vector<Case> EdgeCorpus() {
  Random r;
  std::vector<Case> c;
  c.push_back(RleCase("rle8_no_end_of_bitmap", r, 8, 4, 2, {4, 1, 0, 0, 2, 2}));
  c.push_back(RleCase("rle8_delta_past_top", r, 8, 4, 3, {2, 5, 0, 2, 1, 9, 3, 3, 0, 1}));
  c.push_back(RleCase("rle8_absolute_past_row_end", r, 8, 3, 2, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}));
  c.push_back(RleCase("rle4_odd_absolute", r, 4, 6, 2, {0, 3, 0x12, 0x30, 0, 0, 6, 0x45, 0, 1}));
  c.push_back(RleCase("rle8_cut_in_absolute_run", r, 8, 8, 1, {2, 3, 0, 8, 1, 2}));
  c.push_back(PaletteCase("8bit_index_past_colors_used", r, 8, 4, 2, 40, true, false, 4));
  c.push_back(PaletteCase("1bit_one_colour", r, 1, 8, 2, 40, true, false, 1));
  // Index values in the pixels beyond the four colours the table gives.
  Options o;
  o.width = 4;
  o.height = 1;
  o.bits = 8;
  o.colors_used = 4;
  o.palette = Palette(r, 4);
  o.pixels = {0, 3, 4, 255};
  c.push_back({"8bit_indices_beyond_table", bmp::Build(o)});
  // Header values the decoder refuses; what GDI makes of them is printed or compared.
  Case planes = DirectCase("24bit_planes_0", r, 24, 4, 2);
  planes.file[14 + 12] = 0;
  c.push_back(planes);
  c.push_back(DirectCase("16bit_bitfields_zero_masks", r, 16, 4, 2, {0, 0, 0}));
  c.push_back(DirectCase("16bit_bitfields_overlapping_masks", r, 16, 4, 2, {0xffff, 0xffff, 0xffff}));
  return c;
}

// Files both readers must refuse with the same message.
std::vector<Case> BrokenCorpus() {
  Random r;
  std::vector<Case> c;
  const Bytes good = DirectCase("", r, 24, 8, 8).file;
  c.push_back({"truncated_pixels", Bytes(good.begin(), good.begin() + good.size() / 2)});
  Bytes far_offset = good;
  far_offset[13] = 0x40;  // pixel data at 1 GB
  c.push_back({"offset_past_end", far_offset});
  Bytes palette_cut = PaletteCase("", r, 8, 8, 8).file;
  palette_cut.resize(14 + 40 + 100);
  c.push_back({"palette_past_end", palette_cut});
  c.push_back({"one_byte", {'B'}});
  c.push_back({"file_header_only", Bytes(good.begin(), good.begin() + 14)});
  for (uint32_t size : {64u, 108u, 124u}) {
    Options o;
    o.header_size = size;
    o.width = 2;
    o.height = 2;
    o.pixels = Bytes(16, 0x55);
    c.push_back({"header_" + std::to_string(size), bmp::Build(o)});
  }
  struct Bad { const char* name; int32_t width, height; uint16_t bits; uint32_t compression; };
  for (const Bad& bad : {Bad{"width_0", 0, 4, 24, 0}, Bad{"height_0", 4, 0, 24, 0}, Bad{"width_negative", -4, 4, 24, 0},
                         Bad{"bits_7", 4, 4, 7, 0}, Bad{"rle8_at_4_bits", 4, 4, 4, 1},
                         Bad{"bitfields_at_24_bits", 4, 4, 24, 3}, Bad{"jpeg", 4, 4, 24, 4},
                         Bad{"rle8_top_down", 4, -4, 8, 1}}) {
    Options o;
    o.width = bad.width;
    o.height = bad.height;
    o.bits = bad.bits;
    o.compression = bad.compression;
    if (bad.compression == 3) o.masks = {0xff0000, 0xff00, 0xff};
    if (bad.bits <= 8) o.palette = Palette(r, 1 << (bad.bits > 8 ? 8 : bad.bits));
    o.pixels = Bytes(256, 0x11);
    c.push_back({bad.name, bmp::Build(o)});
  }
  // Within the file, but past the pictures any reader accepts.
  c.push_back(DirectCase("width_past_bound", r, 24, kMaxBitmapSide + 1, 1));
  c.push_back(RleCase("rle8_height_past_bound", r, 8, 4, kMaxBitmapSide + 1, {0, 1}));
  Options huge;
  huge.width = 0x7fffffff;
  huge.height = 0x7fffffff;
  huge.pixels = Bytes(64, 0);
  c.push_back({"huge_dimensions", bmp::Build(huge)});
  return c;
}

using FileReader = RgbImage* (*)(const char* path, BitmapReporter report);

// A reader's result for the file: written to the temporary folder and read back.
bmp::Decoded ReadWith(FileReader reader, const Case& c) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "skyliner_diff_" + c.name + ".bmp";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(c.file.data()), static_cast<std::streamsize>(c.file.size()));
  }
  bmp::Reported().clear();
  RgbImage* image = reader(path.c_str(), bmp::Collect);
  DeleteFileA(path.c_str());
  return bmp::Collected(image);
}

bmp::Decoded ReadThroughGdi(const Case& c) { return ReadWith(ReadBitmapImageThroughGdi, c); }

// One line saying what a reader made of a file.
std::string Describe(const bmp::Decoded& d) {
  if (d.ok) return std::to_string(d.width) + "x" + std::to_string(d.height) + " picture";
  std::string text = "refused";
  for (const std::string& m : d.messages) text += " \"" + m + "\"";
  return text;
}

// Checks that both pictures have the same size and pixels, naming the first difference.
void ExpectSamePictures(const bmp::Decoded& gdi, const bmp::Decoded& decoder) {
  ASSERT_EQ(gdi.width, decoder.width);
  ASSERT_EQ(gdi.height, decoder.height);
  int differing = 0;
  for (int y = 0; y < gdi.height; ++y)
    for (int x = 0; x < gdi.width; ++x)
      if (!(gdi.At(x, y) == decoder.At(x, y)) && differing++ == 0)
        ADD_FAILURE() << "first difference at x " << x << ", row " << y << " from the bottom: GDI "
                      << gdi.At(x, y) << ", decoder " << decoder.At(x, y);
  EXPECT_EQ(differing, 0) << "differing pixels";
}

class SupportedBitmap : public ::testing::TestWithParam<Case> {};
class EdgeBitmap : public ::testing::TestWithParam<Case> {};
class BrokenBitmap : public ::testing::TestWithParam<Case> {};

TEST_P(SupportedBitmap, GdiAndDecoderAgreePixelForPixel) {
  const bmp::Decoded gdi = ReadThroughGdi(GetParam());
  const bmp::Decoded decoder = bmp::Decode(GetParam().file);
  ASSERT_TRUE(decoder.ok) << "decoder: " << Describe(decoder);
  ASSERT_TRUE(gdi.ok) << "GDI: " << Describe(gdi) << "; decoder: " << Describe(decoder);
  EXPECT_GT(decoder.height, 0);
  ExpectSamePictures(gdi, decoder);
}

TEST_P(EdgeBitmap, DecoderFollowsGdi) {
  const bmp::Decoded gdi = ReadThroughGdi(GetParam());
  const bmp::Decoded decoder = bmp::Decode(GetParam().file);
  if (!gdi.ok) {
    std::printf("[ GDI refuses ] %s: GDI %s; decoder %s\n", GetParam().name.c_str(), Describe(gdi).c_str(),
                Describe(decoder).c_str());
    // Where GDI refuses, the decoder refuses too, with the same one message.
    EXPECT_FALSE(decoder.ok) << "GDI refuses it, the decoder " << Describe(decoder);
    ASSERT_EQ(gdi.messages.size(), 1u) << Describe(gdi);
    EXPECT_EQ(gdi.messages, decoder.messages);
    return;
  }
  ASSERT_TRUE(decoder.ok) << "GDI converts it, the decoder " << Describe(decoder);
  ExpectSamePictures(gdi, decoder);
}

// The renderer's reader, which copies plain 24-bit files itself, against GDI's own conversion.
void ExpectRendererReaderFollowsGdi(const Case& c) {
  const bmp::Decoded gdi = ReadThroughGdi(c);
  const bmp::Decoded renderer = ReadWith([](const char* path, BitmapReporter report) { return ReadBitmapImage(path, report); }, c);
  ASSERT_EQ(renderer.ok, gdi.ok) << "GDI: " << Describe(gdi) << "; renderer: " << Describe(renderer);
  EXPECT_EQ(renderer.messages, gdi.messages);
  if (gdi.ok) ExpectSamePictures(gdi, renderer);
}

TEST_P(SupportedBitmap, TheRenderersReaderGivesWhatGdiGives) { ExpectRendererReaderFollowsGdi(GetParam()); }
TEST_P(EdgeBitmap, TheRenderersReaderGivesWhatGdiGives) { ExpectRendererReaderFollowsGdi(GetParam()); }
TEST_P(BrokenBitmap, TheRenderersReaderRefusesAsGdiDoes) { ExpectRendererReaderFollowsGdi(GetParam()); }

TEST_P(BrokenBitmap, BothRefuseWithTheSameMessage) {
  const bmp::Decoded gdi = ReadThroughGdi(GetParam());
  const bmp::Decoded decoder = bmp::Decode(GetParam().file);
  EXPECT_FALSE(gdi.ok) << "GDI: " << Describe(gdi);
  EXPECT_FALSE(decoder.ok) << "decoder: " << Describe(decoder);
  ASSERT_EQ(gdi.messages.size(), 1u) << Describe(gdi);
  EXPECT_EQ(gdi.messages, decoder.messages);
}

// Test names from the case names.
std::string CaseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Corpus, SupportedBitmap, ::testing::ValuesIn(SupportedCorpus()), CaseName);
INSTANTIATE_TEST_SUITE_P(Corpus, EdgeBitmap, ::testing::ValuesIn(EdgeCorpus()), CaseName);
INSTANTIATE_TEST_SUITE_P(Corpus, BrokenBitmap, ::testing::ValuesIn(BrokenCorpus()), CaseName);

}  // namespace
