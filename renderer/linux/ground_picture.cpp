#include "ground_picture.h"

#include <cstdio>  // before jpeglib.h, which uses FILE

#include <jpeglib.h>
#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "bitmap_layout.h"
#include "file_bytes.h"

namespace {

constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G'};
constexpr unsigned char kJpegSignature[] = {0xFF, 0xD8, 0xFF};

// What is wrong with a file, in the words the user reads.
constexpr char kNotAPicture[] = "not a picture";
constexpr char kTooLarge[] = "too large";
constexpr char kNoMemory[] = "not enough memory";
constexpr char kDamagedPng[] = "a damaged PNG picture";

bool StartsWith(const std::vector<unsigned char>& bytes, const unsigned char* signature, size_t size) {
  return bytes.size() >= size && std::memcmp(bytes.data(), signature, size) == 0;
}

std::string TooLarge(unsigned long width, unsigned long height) {
  return std::string(kTooLarge) + " (" + std::to_string(width) + " x " + std::to_string(height) + " pixels)";
}

// A PNG's claimed size is checked before its pixels are allocated.
RgbImage* FromPng(const std::vector<unsigned char>& bytes, size_t max_output_bytes, std::string* reason) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  RgbImage* image = nullptr;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
    *reason = kDamagedPng;
  } else if (!FitsOutputBounds(png.width, png.height, kMaxBitmapSide, max_output_bytes)) {
    *reason = TooLarge(png.width, png.height);
  } else if (!(image = NewRgbImage(static_cast<int>(png.width), static_cast<int>(png.height)))) {
    *reason = kNoMemory;
  } else {
    png.format = PNG_FORMAT_RGB;
    png_color black = {0, 0, 0};  // behind any transparency
    // A negative stride: the first row in memory is the bottom one.
    const png_int_32 bottom_up = -static_cast<png_int_32>(png.width) * 3;
    if (!png_image_finish_read(&png, &black, image->pixels, bottom_up, nullptr)) {
      *reason = kDamagedPng;
      FreeRgbImage(image);
      image = nullptr;
    }
  }
  png_image_free(&png);
  return image;
}

// libjpeg reports a fatal error through this jump instead of exiting.
struct JpegFailure {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void JumpOnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegFailure*>(info->err)->jump, 1); }

// The reason is given by the caller, once; libjpeg's own lines would add to it.
void KeepJpegMessage(j_common_ptr) {}

// Everything one JPEG decode holds, released on one path.
struct JpegRead {
  jpeg_decompress_struct info;
  JpegFailure failure;
  RgbImage* image = nullptr;
  std::string reason;  // empty: the data is damaged
};

RgbImage* FromJpeg(const std::vector<unsigned char>& bytes, size_t max_output_bytes, std::string* reason) {
  JpegRead read;
  read.info.err = jpeg_std_error(&read.failure.manager);
  read.failure.manager.error_exit = JumpOnJpegError;
  read.failure.manager.output_message = KeepJpegMessage;
  jpeg_create_decompress(&read.info);
  if (setjmp(read.failure.jump)) {
    jpeg_destroy_decompress(&read.info);
    FreeRgbImage(read.image);
    *reason = read.reason.empty() ? "a damaged JPEG picture" : read.reason;
    return nullptr;
  }
  jpeg_mem_src(&read.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&read.info, TRUE);
  // Checked before libjpeg sizes its own buffers by the claim.
  if (!FitsOutputBounds(read.info.image_width, read.info.image_height, kMaxBitmapSide, max_output_bytes)) {
    read.reason = TooLarge(read.info.image_width, read.info.image_height);
    std::longjmp(read.failure.jump, 1);
  }
  read.info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&read.info);
  read.image = NewRgbImage(static_cast<int>(read.info.output_width), static_cast<int>(read.info.output_height));
  if (!read.image) {
    read.reason = kNoMemory;
    std::longjmp(read.failure.jump, 1);
  }
  const size_t stride = static_cast<size_t>(read.image->width) * 3;
  while (read.info.output_scanline < read.info.output_height) {
    // JPEG rows run top down, the picture's bottom up.
    JSAMPROW row = read.image->pixels + stride * (read.info.output_height - 1 - read.info.output_scanline);
    jpeg_read_scanlines(&read.info, &row, 1);
  }
  jpeg_finish_decompress(&read.info);
  // A warning means damaged data (a cut-off file decodes to grey): refused.
  if (read.failure.manager.num_warnings > 0) std::longjmp(read.failure.jump, 1);
  jpeg_destroy_decompress(&read.info);
  return read.image;
}

// The decoder's refusal, in words.
const char* BitmapRefusalInWords(const char* refusal) {
  if (refusal == kOutOfMemoryText) return kTooLarge;
  if (refusal == kConversionErrorText) return "a damaged or unsupported bitmap";
  return kNotAPicture;
}

RgbImage* FromBmp(const std::vector<unsigned char>& bytes, size_t max_output_bytes, std::string* reason) {
  const char* refusal = nullptr;
  RgbImage* image = DecodeBitmapGivingRefusal(bytes.data(), bytes.size(), &refusal, max_output_bytes);
  if (!image) *reason = BitmapRefusalInWords(refusal);
  return image;
}

RgbImage* Refuse(const std::string& path, const std::string& reason, std::string* error) {
  *error = "cannot read " + path + ": " + reason;
  return nullptr;
}

}  // namespace

RgbImage* NewRgbImage(int width, int height) {
  auto* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
  if (!image) return nullptr;
  image->width = width;
  image->height = height;
  image->pixels = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(width) * height * 3));
  if (!image->pixels) {
    std::free(image);
    return nullptr;
  }
  return image;
}

void MirrorLeftToRight(RgbImage& image) {
  const size_t stride = static_cast<size_t>(image.width) * 3;
  for (int y = 0; y < image.height; ++y) {
    unsigned char* row = image.pixels + stride * y;
    for (int left = 0, right = image.width - 1; left < right; ++left, --right) {
      for (int c = 0; c < 3; ++c) std::swap(row[left * 3 + c], row[right * 3 + c]);
    }
  }
}

RgbImage* DecodeGroundPicture(const std::vector<unsigned char>& bytes, const std::string& path,
                              std::string* error, size_t max_output_bytes) {
  std::string reason;
  RgbImage* image = StartsWith(bytes, kPngSignature, sizeof kPngSignature)
                        ? FromPng(bytes, max_output_bytes, &reason)
                        : StartsWith(bytes, kJpegSignature, sizeof kJpegSignature)
                              ? FromJpeg(bytes, max_output_bytes, &reason)
                              : FromBmp(bytes, max_output_bytes, &reason);
  if (!image) return Refuse(path, reason, error);
  MirrorLeftToRight(*image);
  return image;
}

RgbImage* ReadGroundPicture(const std::string& path, std::string* error) {
  // A folder opens for reading here and seems endless.
  std::error_code not_found;
  if (std::filesystem::is_directory(path, not_found)) return Refuse(path, std::strerror(EISDIR), error);
  std::vector<unsigned char> bytes;
  errno = 0;
  switch (ReadFileBytes(path.c_str(), bytes)) {
    case FileRead::kRead:
      return DecodeGroundPicture(bytes, path, error);
    case FileRead::kNoMemory:
      return Refuse(path, kTooLarge, error);
    case FileRead::kUnreadable:
      break;
  }
  return Refuse(path, std::strerror(errno != 0 ? errno : EIO), error);
}
