// The hack's ground: a picture that stands in for the user's desktop, held
// mirrored left to right as the saver's capture of the screen is.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "bitmap_decoder.h"
#include "rgb_image.h"

// A new picture of width x height (both positive), uninitialised; null when
// memory runs out.
RgbImage* NewRgbImage(int width, int height);

// Turns the picture's rows end for end, so the screen's leftmost column is the
// rightmost one.
void MirrorLeftToRight(RgbImage& image);

// Reads a BMP, PNG or JPEG file (told apart by its first bytes) and mirrors
// it; null with a reason in *error: "cannot read PATH: " and what is wrong in
// words (the system's reason it cannot be opened, not a picture, damaged, too
// large).
RgbImage* ReadGroundPicture(const std::string& path, std::string* error);

// The same for the file's bytes, path naming it in the reason. A picture
// beyond the bitmap decoder's bounds (or max_output_bytes) is refused before
// anything is allocated for its pixels.
RgbImage* DecodeGroundPicture(const std::vector<unsigned char>& bytes, const std::string& path,
                              std::string* error, size_t max_output_bytes = kMaxBitmapOutputBytes);
