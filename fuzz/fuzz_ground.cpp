// libFuzzer target for the hack's ground pictures (BMP, PNG and JPEG through
// their libraries): any bytes must give a mirrored picture or one reason
// naming the file, never a picture beyond the bounds and never a touch of
// memory outside the bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ground_picture.h"

namespace {

constexpr char kName[] = "fuzzed";
// Keeps each input fast: a few bytes can claim a huge picture. The bound's
// own check is still exercised, just at a lower value.
constexpr size_t kFuzzOutputBytes = size_t{4} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<unsigned char> bytes(data, data + size);
  std::string error;
  RgbImage* image = DecodeGroundPicture(bytes, kName, &error, kFuzzOutputBytes);
  if (!image) {
    if (error.find(kName) == std::string::npos) std::abort();
    return 0;
  }
  const size_t pixels = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
  if (!error.empty() || image->width <= 0 || image->height <= 0 || pixels * 3 > kFuzzOutputBytes) std::abort();
  // Read both ends so ASan checks the buffer holds width x height x 3 bytes.
  volatile unsigned char sink = 0;
  sink = sink ^ image->pixels[0] ^ image->pixels[pixels * 3 - 1];
  FreeRgbImage(image);
  return 0;
}
