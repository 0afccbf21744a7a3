// libFuzzer target for the portable bitmap decoder: any bytes must decode or
// be refused with exactly one message, never touching memory outside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "bitmap_decoder.h"

namespace {

int g_messages = 0;

// Counts messages instead of showing them.
void CountMessage(const char*) { ++g_messages; }

// Keeps each input fast: RLE headers can claim huge pictures in a few bytes.
// The bound's own check is still exercised, just at a lower value.
constexpr size_t kFuzzOutputBytes = size_t{4} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  g_messages = 0;
  RgbImage* image = DecodeBitmap(data, size, CountMessage, kFuzzOutputBytes);
  if (image) {
    if (g_messages != 0 || image->width <= 0 || image->height <= 0) std::abort();
    // Read the whole buffer so ASan checks its extent matches width x height x 3.
    const size_t bytes = static_cast<size_t>(image->width) * static_cast<size_t>(image->height) * 3;
    volatile unsigned char sink = 0;
    sink = sink ^ image->pixels[0] ^ image->pixels[bytes - 1];
    FreeRgbImage(image);
  } else if (g_messages != 1) {
    std::abort();
  }
  return 0;
}
