// The mipmap chain gluBuild2DMipmaps makes for packed RGB bytes, built here in
// one quick pass: the picture scaled by area averaging to the nearest
// power-of-two sides, then halved by rounded 2 x 2 averages down to 1 x 1.
// GLU takes a slow general path for the same levels, and on a desktop-sized
// picture that was most of the renderer's start-up.
#pragma once

#include <vector>

#include "task_runner.h"

struct MipmapLevel {
  int width = 0;
  int height = 0;
  int pixel_bytes = 3;             // 3: red, green, blue; 4: and 255
  std::vector<unsigned char> rgb;  // packed rows, no padding
};

// The power of two GLU scales a side to: the one below, or the one above when
// the side's two highest bits are both set (3 x 2^n rounds up).
int MipmapSide(int side);

// Scales packed RGB rows by area averaging: each output pixel is the mean of
// the source area it covers, partly covered pixels weighted by the part.
void ScaleRgbByArea(const unsigned char* in, int width, int height, unsigned char* out, int new_width,
                    int new_height, const TaskRunner& tasks = TaskRunner());

// Level 0 at MipmapSide of each side (halved while above max_side; 0 means no
// limit), then each level half the one before, down to 1 x 1. Empty for a
// picture without pixels. With pixel_bytes 4 each pixel gets a fourth byte of
// 255: drivers keep RGB textures four bytes a texel and copy that layout
// straight in, where they convert packed RGB texel by texel. The rows are
// split over tasks.
std::vector<MipmapLevel> BuildMipmapChain(const unsigned char* rgb, int width, int height, int max_side,
                                          int pixel_bytes = 3, const TaskRunner& tasks = TaskRunner());
