// libFuzzer target for the mipmap chain of whatever the bitmap decoder
// accepts: the first byte picks the size limit and the texel layout, the rest
// is the bitmap file. Every level must hold exactly its pixels, each half the
// one before, down to 1 x 1, with an opaque fourth byte where there is one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "bitmap_decoder.h"
#include "mipmaps.h"

namespace {

// Decoded pictures stay small enough that each input is quick.
constexpr size_t kFuzzOutputBytes = size_t{1} << 20;

int HalfOf(int side) { return side > 1 ? side / 2 : 1; }

void CheckChain(const std::vector<MipmapLevel>& chain, int width, int height, int max_side, int pixel_bytes) {
  if (chain.empty()) std::abort();
  int expected_width = MipmapSide(width), expected_height = MipmapSide(height);
  while (max_side > 0 && (expected_width > max_side || expected_height > max_side)) {
    expected_width = HalfOf(expected_width);
    expected_height = HalfOf(expected_height);
  }
  for (const MipmapLevel& level : chain) {
    if (level.width != expected_width || level.height != expected_height || level.pixel_bytes != pixel_bytes ||
        level.rgb.size() != static_cast<size_t>(level.width) * level.height * pixel_bytes)
      std::abort();
    if (pixel_bytes == 4)
      for (size_t i = 3; i < level.rgb.size(); i += 4)
        if (level.rgb[i] != 255) std::abort();
    expected_width = HalfOf(expected_width);
    expected_height = HalfOf(expected_height);
  }
  if (chain.back().width != 1 || chain.back().height != 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int max_side = (data[0] & 0x7f) == 0 ? 0 : 1 << ((data[0] & 0x7f) % 12);
  const int pixel_bytes = (data[0] & 0x80) ? 4 : 3;
  const char* refusal = nullptr;
  RgbImage* image = DecodeBitmapGivingRefusal(data + 1, size - 1, &refusal, kFuzzOutputBytes);
  if (!image) return 0;
  CheckChain(BuildMipmapChain(image->pixels, image->width, image->height, max_side, pixel_bytes), image->width,
             image->height, max_side, pixel_bytes);
  FreeRgbImage(image);
  return 0;
}
