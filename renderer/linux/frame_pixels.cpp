#include "frame_pixels.h"

#include <cstdlib>

PixelDifference ComparePixels(const FramePixels& a, const FramePixels& b, int tolerance) {
  PixelDifference result;
  if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return result;
  result.same_size = true;
  result.pixel_count = static_cast<long>(a.width) * a.height;
  for (size_t i = 0; i + 2 < a.rgb.size(); i += 3) {
    int pixel_largest = 0;
    for (size_t c = i; c < i + 3; ++c) {
      const int d = std::abs(static_cast<int>(a.rgb[c]) - static_cast<int>(b.rgb[c]));
      if (d > pixel_largest) pixel_largest = d;
    }
    if (pixel_largest > result.largest_channel_difference)
      result.largest_channel_difference = pixel_largest;
    if (pixel_largest > tolerance) ++result.pixels_beyond_tolerance;
  }
  return result;
}

std::string DescribeDifference(const PixelDifference& difference, int tolerance) {
  if (!difference.same_size) return "the frames differ in size";
  return "largest channel difference " + std::to_string(difference.largest_channel_difference) +
         ", " + std::to_string(difference.pixels_beyond_tolerance) + " of " +
         std::to_string(difference.pixel_count) + " pixels beyond " + std::to_string(tolerance);
}
