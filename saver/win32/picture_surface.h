// An off-screen picture that keeps its image: a memory DC holding a 24-bit
// bottom-up DIB section, which can be drawn, resized and saved as a Windows
// bitmap file.
#pragma once

#include <windows.h>

#include <string>

class PictureSurface {
 public:
  PictureSurface();
  ~PictureSurface();
  PictureSurface(const PictureSurface&) = delete;
  PictureSurface& operator=(const PictureSurface&) = delete;

  // Gives the surface a new size; the old image stays at the top-left and the
  // rest takes the background. A side of 0 (or less) leaves an empty surface.
  bool Resize(int width, int height, COLORREF background);
  // Replaces the image with a bitmap resource, at the bitmap's own size.
  bool LoadPictureResource(HINSTANCE module, int resource_id);
  // Writes the whole image as a 24-bit uncompressed bitmap file, replacing the file.
  bool SaveBitmap(const std::string& path) const;
  // The same file's bytes, written at the open file's position.
  bool WriteBitmap(HANDLE file) const;
  // Turns the image left to right, exactly, pixel for pixel.
  void Mirror();
  // Draws the image at its own size at x,y, cut off at the clip rectangle.
  void Draw(HDC target, int x, int y, const RECT& clip) const;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  void ReleaseBitmap();

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_bitmap_ = nullptr;
  void* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Fills rect of dc with one colour.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
