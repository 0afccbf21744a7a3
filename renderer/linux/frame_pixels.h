// A rendered frame in memory and the tolerant comparison of two frames.
#pragma once

#include <string>
#include <vector>

// Packed RGB, width x 3 bytes a row, in OpenGL's row order: the first row is
// the bottom of the picture.
struct FramePixels {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;
};

struct PixelDifference {
  bool same_size = false;
  int largest_channel_difference = 0;  // over all pixels and channels
  long pixels_beyond_tolerance = 0;    // pixels with any channel off by more
  long pixel_count = 0;
};

// Compares two frames channel by channel; a size mismatch leaves same_size false.
PixelDifference ComparePixels(const FramePixels& a, const FramePixels& b, int tolerance);

// One line for logs: "largest channel difference 2, 17 of 196608 pixels beyond 3".
std::string DescribeDifference(const PixelDifference& difference, int tolerance);
