// The shell's work on the plain bitmap files it writes (their layout is the
// contract's, bmp_layout.h).
#pragma once

#include <cstdint>

#include "contract/bmp_layout.h"

// Turns the picture left to right in place: the pixels of every row of a
// width x height, 24-bit picture in this layout, padding left alone.
void MirrorRows(uint8_t* pixels, int width, int height);
