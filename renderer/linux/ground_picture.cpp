#include "ground_picture.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "bitmap_decoder.h"
#include "file_bytes.h"
#include "png_io.h"

namespace {

constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G'};
constexpr unsigned char kJpegSignature[] = {0xFF, 0xD8, 0xFF};

bool StartsWith(const std::vector<unsigned char>& bytes, const unsigned char* signature, size_t size) {
  return bytes.size() >= size && std::memcmp(bytes.data(), signature, size) == 0;
}

RgbImage* FromPng(const std::string& path, std::string* error) {
  FramePixels frame;
  if (!ReadPng(path, &frame, error)) return nullptr;
  RgbImage* image = NewRgbImage(frame.width, frame.height);
  if (!image) *error = "not enough memory for " + path;
  if (image) std::memcpy(image->pixels, frame.rgb.data(), frame.rgb.size());  // both bottom row first
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
};

RgbImage* FromJpeg(const std::vector<unsigned char>& bytes, const std::string& path, std::string* error) {
  JpegRead read;
  read.info.err = jpeg_std_error(&read.failure.manager);
  read.failure.manager.error_exit = JumpOnJpegError;
  read.failure.manager.output_message = KeepJpegMessage;
  jpeg_create_decompress(&read.info);
  if (setjmp(read.failure.jump)) {
    jpeg_destroy_decompress(&read.info);
    FreeRgbImage(read.image);
    *error = "cannot decode " + path + " as JPEG";
    return nullptr;
  }
  jpeg_mem_src(&read.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&read.info, TRUE);
  read.info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&read.info);
  read.image = NewRgbImage(static_cast<int>(read.info.output_width), static_cast<int>(read.info.output_height));
  if (!read.image) std::longjmp(read.failure.jump, 1);
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

RgbImage* FromBmp(const std::vector<unsigned char>& bytes, const std::string& path, std::string* error) {
  const char* refusal = nullptr;
  RgbImage* image = DecodeBitmapGivingRefusal(bytes.data(), bytes.size(), &refusal);
  if (!image) *error = "cannot read " + path + ": " + (refusal ? refusal : "not a picture");
  return image;
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

RgbImage* ReadGroundPicture(const std::string& path, std::string* error) {
  std::vector<unsigned char> bytes;
  if (ReadFileBytes(path.c_str(), bytes) != FileRead::kRead) {
    *error = "cannot read " + path;
    return nullptr;
  }
  RgbImage* image = StartsWith(bytes, kPngSignature, sizeof kPngSignature)     ? FromPng(path, error)
                    : StartsWith(bytes, kJpegSignature, sizeof kJpegSignature) ? FromJpeg(bytes, path, error)
                                                                               : FromBmp(bytes, path, error);
  if (image) MirrorLeftToRight(*image);
  return image;
}
