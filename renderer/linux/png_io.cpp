#include "png_io.h"

#include <png.h>

#include <cstring>
#include <utility>

// A negative row stride tells libpng's simplified API that the buffer's first
// row is the bottom one, which is exactly the frame's order.
static png_int_32 BottomUpStride(const FramePixels& frame) {
  return -static_cast<png_int_32>(frame.width) * 3;
}

bool WritePng(const std::string& path, const FramePixels& frame, std::string* error) {
  if (frame.width <= 0 || frame.height <= 0 ||
      frame.rgb.size() != static_cast<size_t>(frame.width) * frame.height * 3) {
    *error = "no picture to write";
    return false;
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(frame.width);
  image.height = static_cast<png_uint_32>(frame.height);
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, path.c_str(), 0, frame.rgb.data(), BottomUpStride(frame),
                               nullptr)) {
    *error = "cannot write " + path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  return true;
}

bool ReadPng(const std::string& path, FramePixels* frame, std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    *error = "cannot read " + path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  FramePixels read;
  read.width = static_cast<int>(image.width);
  read.height = static_cast<int>(image.height);
  read.rgb.resize(PNG_IMAGE_SIZE(image));
  png_color black = {0, 0, 0};
  if (!png_image_finish_read(&image, &black, read.rgb.data(), BottomUpStride(read), nullptr)) {
    *error = "cannot decode " + path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  *frame = std::move(read);
  return true;
}
