// Writes pictures as uncompressed 24-bit bottom-up Windows bitmap files.
#pragma once

#include <string>
#include <vector>

// A picture of width x height pixels, rows top first, 3 bytes (red, green,
// blue) a pixel, no padding.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;

  Picture(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 0) {}
  unsigned char* At(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// Writes the picture with a 14-byte file header and a 40-byte information
// header (the layout of contract/bmp_layout.h); false for a side the layout refuses or
// if the file cannot be written.
bool WriteBmp24(const std::string& path, const Picture& picture);
