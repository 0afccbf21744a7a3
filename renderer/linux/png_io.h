// Frames to and from PNG files (libpng). PNG rows run top to bottom, frames
// bottom to top, so both directions flip the rows.
#pragma once

#include <string>

#include "frame_pixels.h"

// Writes an 8-bit RGB PNG; false with a reason in *error.
bool WritePng(const std::string& path, const FramePixels& frame, std::string* error);

// Reads any PNG as 8-bit RGB (alpha composited on black); false with a reason.
bool ReadPng(const std::string& path, FramePixels* frame, std::string* error);
