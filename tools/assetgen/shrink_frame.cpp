// Turns a large frame of the viewer (a PNG) into a small bitmap by averaging
// each FACTOR x FACTOR block, so a small picture keeps the detail a direct
// small render would lose to aliasing.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bmp_writer.h"
#include "png_io.h"

// The mean of every factor x factor block of frame, rows turned top first.
static Picture Shrink(const FramePixels& frame, int factor) {
  Picture picture(frame.width / factor, frame.height / factor);
  const int block = factor * factor;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      for (int k = 0; k < 3; ++k) {
        int sum = 0;
        for (int j = 0; j < factor; ++j)
          for (int i = 0; i < factor; ++i) {
            const int source_row = frame.height - 1 - (y * factor + j);  // frames are bottom up
            sum += frame.rgb[(static_cast<size_t>(source_row) * frame.width + x * factor + i) * 3 + k];
          }
        picture.At(x, y)[k] = static_cast<unsigned char>((sum + block / 2) / block);
      }
  return picture;
}

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FRAME.png FACTOR OUT.bmp\n", argv[0]);
    return 2;
  }
  const int factor = std::atoi(argv[2]);
  if (factor < 1 || factor > 64) {
    std::fprintf(stderr, "shrink-frame: FACTOR must be 1 to 64, not '%s'\n", argv[2]);
    return 2;
  }
  FramePixels frame;
  std::string error;
  if (!ReadPng(argv[1], &frame, &error)) {
    std::fprintf(stderr, "shrink-frame: %s\n", error.c_str());
    return 1;
  }
  if (frame.width % factor != 0 || frame.height % factor != 0) {
    std::fprintf(stderr, "shrink-frame: %dx%d is not a multiple of %d\n", frame.width, frame.height, factor);
    return 1;
  }
  if (!WriteBmp24(argv[3], Shrink(frame, factor))) {
    std::fprintf(stderr, "shrink-frame: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
