// The hack's ground: a picture that stands in for the user's desktop, held
// mirrored left to right as the saver's capture of the screen is.
#pragma once

#include <string>

#include "rgb_image.h"

// A new picture of width x height (both positive), uninitialised; null when
// memory runs out.
RgbImage* NewRgbImage(int width, int height);

// Turns the picture's rows end for end, so the screen's leftmost column is the
// rightmost one.
void MirrorLeftToRight(RgbImage& image);

// Reads a BMP, PNG or JPEG file (told apart by its first bytes) and mirrors
// it; null with a reason in *error.
RgbImage* ReadGroundPicture(const std::string& path, std::string* error);
