// Bitmap files to RgbImage. The shared layout checks place every part of the
// file inside its bytes; the checks GDI's conversion adds and the decoder's
// own bounds follow, all before anything is allocated.
#include "bitmap_decoder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bitmap_convert.h"
#include "bitmap_layout.h"
#include "file_bytes.h"

const char kOpenFailedFormat[] = "Failed to open DIB file %s.\n";
const char kUnknownFormatText[] = "Unknown DIB file format.";
const char kConversionErrorText[] = "Image file conversion error.";
const char kOutOfMemoryText[] = "Out of memory.";

const char* LayoutRefusalText(BitmapLayoutStatus status) {
  switch (status) {
    case BitmapLayoutStatus::kOk: break;
    case BitmapLayoutStatus::kUnknownHeader: return kUnknownFormatText;
    case BitmapLayoutStatus::kMalformed: return kConversionErrorText;
    case BitmapLayoutStatus::kTooLarge: return kOutOfMemoryText;
  }
  return nullptr;
}

void FreeRgbImage(RgbImage* image) {
  if (!image) return;
  std::free(image->pixels);
  std::free(image);
}

namespace {

// The checks GDI's conversion makes beyond the layout: planes for uncompressed
// data, and three nonzero bit-field masks.
bool PassesConversionChecks(const unsigned char* data, const BitmapLayout& layout) {
  const bool rle = layout.compression == kBiRle8 || layout.compression == kBiRle4;
  if (!rle && layout.planes == 0) return false;
  if (!layout.has_masks) return true;
  for (int i = 0; i < 3; ++i)
    if (Read32(data, layout.masks_offset + 4 * i) == 0) return false;
  return true;
}

// The converters' view of a checked layout: colours, masks and pixel span.
void FillSource(const unsigned char* data, const BitmapLayout& layout, BitmapSource* source) {
  source->width = layout.width;
  source->height = static_cast<int32_t>(layout.abs_height());
  source->top_down = layout.height < 0;
  source->bits_per_pixel = layout.bit_count;
  source->rle = layout.compression == kBiRle8 || layout.compression == kBiRle4;
  source->pixels = data + layout.pixel_offset;
  source->pixel_bytes = layout.pixel_bytes;
  if (layout.has_masks) {
    for (int i = 0; i < 3; ++i) source->masks[i] = Read32(data, layout.masks_offset + 4 * i);
  } else if (layout.bit_count == 16) {  // 5-5-5
    source->masks[0] = 0x7c00;
    source->masks[1] = 0x03e0;
    source->masks[2] = 0x001f;
  } else if (layout.bit_count == 32) {  // 8-8-8
    source->masks[0] = 0xff0000;
    source->masks[1] = 0x00ff00;
    source->masks[2] = 0x0000ff;
  }
  if (layout.bit_count > 8) return;
  // Entries past those the file supplies (or past 2^depth) stay black.
  const uint32_t used = std::min<uint32_t>(layout.palette_entries, 1u << layout.bit_count);
  for (uint32_t i = 0; i < used; ++i) {
    const unsigned char* entry = data + layout.palette_offset + static_cast<size_t>(i) * layout.palette_entry_size;
    source->palette[i][0] = entry[2];
    source->palette[i][1] = entry[1];
    source->palette[i][2] = entry[0];
  }
}

// Checks the file and fills source; returns the message for a failure.
const char* Describe(const unsigned char* data, size_t size, size_t max_output_bytes, BitmapSource* source) {
  BitmapLayout layout;
  if (const char* refusal = LayoutRefusalText(ReadBitmapLayout(data, size, &layout))) return refusal;
  if (!PassesConversionChecks(data, layout)) return kConversionErrorText;
  if (!FitsOutputBounds(layout, kMaxBitmapSide, max_output_bytes)) return kOutOfMemoryText;
  FillSource(data, layout, source);
  return nullptr;
}

// Reports text (if there is a reporter) and returns null.
RgbImage* Fail(BitmapReporter report, const char* text) {
  if (report) report(text);
  return nullptr;
}

}  // namespace

RgbImage* DecodeBitmap(const unsigned char* data, size_t size, BitmapReporter report, size_t max_output_bytes,
                       const TaskRunner& tasks) {
  const char* refusal = nullptr;
  RgbImage* image = DecodeBitmapGivingRefusal(data, size, &refusal, max_output_bytes, tasks);
  return image ? image : Fail(report, refusal);
}

RgbImage* DecodeBitmapGivingRefusal(const unsigned char* data, size_t size, const char** refusal,
                                    size_t max_output_bytes, const TaskRunner& tasks) {
  static const unsigned char kNothing[1] = {0};
  if (!data) {
    data = kNothing;
    size = 0;
  }
  BitmapSource source;
  if ((*refusal = Describe(data, size, max_output_bytes, &source)) != nullptr) return nullptr;

  const size_t bytes = static_cast<size_t>(source.width) * static_cast<size_t>(source.height) * 3;
  const bool rle = source.rle;
  auto* pixels = static_cast<unsigned char*>(rle ? std::calloc(bytes, 1) : std::malloc(bytes));
  auto* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
  if (!pixels || !image) {
    std::free(pixels);
    std::free(image);
    *refusal = kOutOfMemoryText;
    return nullptr;
  }
  if (rle)
    DecodeBitmapRle(source, pixels);
  else
    ConvertBitmapRows(source, pixels, tasks);
  image->width = source.width;
  image->height = source.height;
  image->pixels = pixels;
  return image;
}

namespace {

// Reports the open failure for path and returns null.
RgbImage* FailToOpen(BitmapReporter report, const char* path) {
  if (!report) return nullptr;
  std::vector<char> text(std::strlen(path) + sizeof kOpenFailedFormat);
  std::snprintf(text.data(), text.size(), kOpenFailedFormat, path);
  report(text.data());
  return nullptr;
}

}  // namespace

RgbImage* ReadBitmapImageFile(const char* path, BitmapReporter report, const TaskRunner& tasks) {
  std::vector<unsigned char> bytes;
  switch (ReadFileBytes(path, bytes)) {
    case FileRead::kNoMemory: return Fail(report, kOutOfMemoryText);
    case FileRead::kUnreadable: return FailToOpen(report, path ? path : "");
    case FileRead::kRead: break;
  }
  // An empty file cannot be mapped on Windows, so it counts as unopenable.
  if (bytes.empty()) return FailToOpen(report, path);
  return DecodeBitmap(bytes.data(), bytes.size(), report, kMaxBitmapOutputBytes, tasks);
}
