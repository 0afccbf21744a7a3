// Portable decoding of Windows bitmap files (bytes in, RgbImage out).
#pragma once

#include <cstddef>

#include "rgb_image.h"

// The loader's messages, word for word.
extern const char kOpenFailedFormat[];     // "Failed to open DIB file %s.\n"
extern const char kUnknownFormatText[];    // "Unknown DIB file format."
extern const char kConversionErrorText[];  // "Image file conversion error."
extern const char kOutOfMemoryText[];      // "Out of memory."

// Shows one message to the user; each front end supplies its own.
using BitmapReporter = void (*)(const char* text);

// Decodes a whole bitmap file held in memory: with or without the 14-byte file
// header; core (12) or information (40) header; 1/4/8-bit palettes, RLE4, RLE8,
// 16/32-bit with or without bit-field masks, 24-bit. Top-down files come back
// bottom-up with a positive height. On failure reports exactly one message and
// returns null. Never reads outside [data, data + size).
RgbImage* DecodeBitmap(const unsigned char* data, size_t size, BitmapReporter report);

// Reads the file at path and decodes it; a file that cannot be read, or has no
// bytes, is reported with kOpenFailedFormat and the path.
RgbImage* ReadBitmapImageFile(const char* path, BitmapReporter report);
