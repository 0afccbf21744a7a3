// Portable decoding of Windows bitmap files (bytes in, RgbImage out). The
// results match what GDI's SetDIBits produces in a 24-bit DIB section.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bitmap_layout.h"
#include "rgb_image.h"
#include "task_runner.h"

// The loader's messages, word for word.
extern const char kOpenFailedFormat[];     // "Failed to open DIB file %s.\n"
extern const char kUnknownFormatText[];    // "Unknown DIB file format."
extern const char kConversionErrorText[];  // "Image file conversion error."
extern const char kOutOfMemoryText[];      // "Out of memory."

// The message for a file the layout checks refuse; null for kOk.
const char* LayoutRefusalText(BitmapLayoutStatus status);

// Shows one message to the user; each front end supplies its own. Null is silent.
using BitmapReporter = void (*)(const char* text);

// Pictures beyond these bounds are refused with kOutOfMemoryText before
// anything is allocated (a 32-bit renderer could not hold them anyway).
constexpr int32_t kMaxBitmapSide = 16384;
constexpr size_t kMaxBitmapOutputBytes = size_t{256} << 20;

// Decodes a whole bitmap file held in memory: with or without the 14-byte file
// header; core (12) or information (40) header; 1/4/8-bit palettes, RLE4, RLE8,
// 16/32-bit with or without bit-field masks, 24-bit. Top-down files come back
// bottom-up with a positive height. On failure reports exactly one message and
// returns null:
//   kUnknownFormatText   the header is cut short or its size is not 12 or 40;
//   kConversionErrorText the depth/compression pair is not convertible, the
//                        dimensions are not positive, or the palette, masks or
//                        pixel rows lie outside the data;
//   kOutOfMemoryText     the picture exceeds the bounds above (or max_output_bytes)
//                        or an allocation fails.
// Never reads outside [data, data + size). The rows are converted by tasks.
RgbImage* DecodeBitmap(const unsigned char* data, size_t size, BitmapReporter report,
                       size_t max_output_bytes = kMaxBitmapOutputBytes, const TaskRunner& tasks = TaskRunner());

// The same, giving the one message through *refusal (null on success) instead
// of reporting it.
RgbImage* DecodeBitmapGivingRefusal(const unsigned char* data, size_t size, const char** refusal,
                                    size_t max_output_bytes = kMaxBitmapOutputBytes,
                                    const TaskRunner& tasks = TaskRunner());

// Reads the file at path (fopen) and decodes it; a file that cannot be opened
// or read, or has no bytes, is reported with kOpenFailedFormat and the path.
RgbImage* ReadBitmapImageFile(const char* path, BitmapReporter report, const TaskRunner& tasks = TaskRunner());
