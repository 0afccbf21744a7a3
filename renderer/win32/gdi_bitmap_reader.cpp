#include "gdi_bitmap_reader.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bitmap_layout.h"
#include "trusted_file.h"

namespace {

// Everything one read holds; ReleaseRead frees it in a fixed order on every path.
struct BitmapRead {
  HANDLE file = INVALID_HANDLE_VALUE;
  HANDLE mapping = nullptr;
  const unsigned char* view = nullptr;
  size_t size = 0;
  BITMAPINFO* source_info = nullptr;  // the working description of the file's pixels
  BITMAPINFO* target_info = nullptr;  // the 24-bit section's description
  HDC context = nullptr;
  HBITMAP section = nullptr;
  const unsigned char* section_bits = nullptr;
  unsigned char* pixels = nullptr;
  RgbImage* image = nullptr;
  bool open_failed = false;
};

// Opens the file for reading and maps a read-only view of all of it; a file
// not to be trusted is kMissing.
TrustedOpen MapFile(const char* path, BitmapRead* read) {
  const TrustedOpen opened = OpenTrustedFile(path, &read->file);
  if (opened != TrustedOpen::kOpened) return opened;
  LARGE_INTEGER length;
  if (!GetFileSizeEx(read->file, &length) || static_cast<unsigned long long>(length.QuadPart) > SIZE_MAX)
    return TrustedOpen::kFailed;
  read->size = static_cast<size_t>(length.QuadPart);
  read->mapping = CreateFileMappingA(read->file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (!read->mapping) return TrustedOpen::kFailed;  // also the case for a file of length 0
  read->view = static_cast<const unsigned char*>(MapViewOfFile(read->mapping, FILE_MAP_READ, 0, 0, 0));
  return read->view ? TrustedOpen::kOpened : TrustedOpen::kFailed;
}

// Builds the working description (information header, masks, colour entries):
// the header from the checked layout alone, never read again from the file
// (the resolutions stay 0, which the conversion does not read); core headers'
// 3-byte colours are widened.
BITMAPINFO* DescribeSource(const unsigned char* view, const BitmapLayout& layout) {
  const size_t masks = layout.has_masks ? kBitmapMasksSize : 0;
  auto* info = static_cast<BITMAPINFO*>(
      std::calloc(1, sizeof(BITMAPINFOHEADER) + masks + layout.palette_entries * sizeof(RGBQUAD)));
  if (!info) return nullptr;
  BITMAPINFOHEADER& header = info->bmiHeader;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = layout.width;
  header.biHeight = layout.height;
  header.biPlanes = layout.planes;
  header.biBitCount = layout.bit_count;
  header.biCompression = layout.compression;
  header.biClrImportant = layout.palette_entries;
  // Exactly the entries copied below, so the conversion never looks past the table.
  header.biClrUsed = layout.palette_entries;
  // The exact byte count the conversion may read; for RLE this bounds the decoder.
  header.biSizeImage = static_cast<DWORD>(layout.pixel_bytes);

  unsigned char* after_header = reinterpret_cast<unsigned char*>(info) + sizeof(BITMAPINFOHEADER);
  if (layout.has_masks) std::memcpy(after_header, view + layout.masks_offset, masks);
  RGBQUAD* colours = reinterpret_cast<RGBQUAD*>(after_header + masks);
  const unsigned char* entry = view + layout.palette_offset;
  for (uint32_t i = 0; i < layout.palette_entries; ++i, entry += layout.palette_entry_size) {
    colours[i].rgbBlue = entry[0];
    colours[i].rgbGreen = entry[1];
    colours[i].rgbRed = entry[2];
    colours[i].rgbReserved = 0;
  }
  return info;
}

// Creates the memory context and a bottom-up 24-bit DIB section of the picture's size.
bool CreateTarget(const BitmapLayout& layout, BitmapRead* read) {
  read->context = CreateCompatibleDC(nullptr);
  read->target_info = static_cast<BITMAPINFO*>(std::calloc(1, sizeof(BITMAPINFO)));
  if (!read->context || !read->target_info) return false;
  BITMAPINFOHEADER& header = read->target_info->bmiHeader;
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = layout.width;
  header.biHeight = static_cast<LONG>(layout.abs_height());  // top-down files come out bottom-up
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = layout.abs_height() * static_cast<DWORD>(layout.width) * 3;
  void* bits = nullptr;
  read->section = CreateDIBSection(read->context, read->target_info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!read->section || !bits) return false;
  read->section_bits = static_cast<const unsigned char*>(bits);
  return SelectObject(read->context, read->section) != nullptr;
}

// Copies the section's padded BGR rows into packed RGB rows.
void CopyRows(const BitmapRead& read, int32_t width, uint32_t rows, unsigned char* out) {
  const size_t stride = static_cast<size_t>(BitmapRowBytes(static_cast<uint64_t>(width), 24));
  for (uint32_t row = 0; row < rows; ++row) {
    const unsigned char* in = read.section_bits + row * stride;
    for (int32_t x = 0; x < width; ++x, in += 3, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
  }
}

// Plain 24-bit rows go into a 24-bit section unchanged, so GDI's conversion is
// a copy.
bool IsPlain24Bit(const BitmapLayout& layout) { return layout.bit_count == 24 && layout.compression == kBiRgb; }

// Converts the mapped file; returns the message to report, or null once
// read->image is made. With copy_plain, plain 24-bit rows (the pictures the
// saver writes) are copied by the portable decoder, split over its tasks: that needs no device
// context, whose first creation sets up the system's fonts (tens of
// milliseconds under Wine) for a program that draws no text.
const char* Convert(BitmapRead* read, const TaskRunner* copy_plain) {
  // Refused files never reach SetDIBits, which reads past the mapped view for malformed ones.
  BitmapLayout layout;
  if (const char* refusal = LayoutRefusalText(ReadBitmapLayout(read->view, read->size, &layout))) return refusal;
  // The portable decoder's bounds, so both readers refuse the same pictures.
  if (!FitsOutputBounds(layout, kMaxBitmapSide, kMaxBitmapOutputBytes)) return kOutOfMemoryText;
  if (copy_plain && IsPlain24Bit(layout)) {
    const char* refusal = nullptr;
    read->image = DecodeBitmapGivingRefusal(read->view, read->size, &refusal, kMaxBitmapOutputBytes, *copy_plain);
    return refusal;
  }
  read->source_info = DescribeSource(read->view, layout);
  if (!read->source_info) return kOutOfMemoryText;
  if (!CreateTarget(layout, read)) return kOutOfMemoryText;

  const uint32_t rows = layout.abs_height();
  if (SetDIBits(read->context, read->section, 0, rows, read->view + layout.pixel_offset,
                read->source_info, DIB_RGB_COLORS) == 0)
    return kConversionErrorText;
  GdiFlush();

  read->pixels = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(rows) * layout.width * 3));
  if (!read->pixels) return kOutOfMemoryText;
  CopyRows(*read, layout.width, rows, read->pixels);
  read->image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
  if (!read->image) return kOutOfMemoryText;
  read->image->width = layout.width;
  read->image->height = static_cast<int32_t>(rows);
  read->image->pixels = read->pixels;
  return nullptr;
}

// Releases everything the read holds, in the loader's fixed order.
void ReleaseRead(BitmapRead* read) {
  if (read->context) DeleteDC(read->context);
  if (read->section) DeleteObject(read->section);
  std::free(read->target_info);
  std::free(read->source_info);
  if (read->view) UnmapViewOfFile(read->view);
  if (read->mapping) CloseHandle(read->mapping);
  if (read->file != INVALID_HANDLE_VALUE) CloseHandle(read->file);
  if (!read->image) std::free(read->pixels);
}

// Reports the open failure with the path put into the message.
void ReportOpenFailure(const char* path, BitmapReporter report) {
  const int length = std::snprintf(nullptr, 0, kOpenFailedFormat, path);
  if (length < 0) return;
  std::vector<char> text(static_cast<size_t>(length) + 1);
  std::snprintf(text.data(), text.size(), kOpenFailedFormat, path);
  report(text.data());
}

// Maps, converts and releases; reports any failure.
RgbImage* ReadBitmap(const char* path, BitmapReporter report, const TaskRunner* copy_plain) {
  BitmapRead read;
  const char* failure = nullptr;
  const TrustedOpen opened = MapFile(path, &read);
  if (opened == TrustedOpen::kFailed) {
    read.open_failed = true;
  } else if (opened == TrustedOpen::kOpened) {
    failure = Convert(&read, copy_plain);
  }
  ReleaseRead(&read);
  if (!report) return read.image;  // an untrusted file, like a missing one, is never reported
  if (read.open_failed) {
    ReportOpenFailure(path, report);
  } else if (failure) {
    report(failure);
  }
  return read.image;
}

}  // namespace

void ShowBitmapMessage(const char* text) { MessageBoxA(GetFocus(), text, "Error", MB_OK); }

RgbImage* ReadBitmapImage(const char* path, BitmapReporter report, const TaskRunner& tasks) {
  return ReadBitmap(path, report, &tasks);
}

RgbImage* ReadBitmapImageThroughGdi(const char* path, BitmapReporter report) {
  return ReadBitmap(path, report, nullptr);
}
