#include "picture_surface.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "bmp_file.h"
#include "user_files.h"

namespace {

// A 24-bit bottom-up DIB section of width x height; its rows have the bitmap file's layout.
HBITMAP CreateSurfaceBitmap(int width, int height, void** bits) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

PictureSurface::PictureSurface() : dc_(CreateCompatibleDC(nullptr)) {}

PictureSurface::~PictureSurface() {
  ReleaseBitmap();
  if (dc_) DeleteDC(dc_);
}

void PictureSurface::ReleaseBitmap() {
  if (original_bitmap_) SelectObject(dc_, original_bitmap_);
  if (bitmap_) DeleteObject(bitmap_);
  original_bitmap_ = nullptr;
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = 0;
  height_ = 0;
}

bool PictureSurface::Resize(int width, int height, COLORREF background) {
  if (!dc_) return false;
  if (width <= 0 || height <= 0 || width > kMaxBitmapFileSide || height > kMaxBitmapFileSide) {
    ReleaseBitmap();
    return width <= 0 || height <= 0;
  }
  void* bits = nullptr;
  HBITMAP bitmap = CreateSurfaceBitmap(width, height, &bits);
  if (!bitmap) return false;
  HDC new_dc = CreateCompatibleDC(nullptr);
  if (!new_dc) {
    DeleteObject(bitmap);
    return false;
  }
  HGDIOBJ new_original = SelectObject(new_dc, bitmap);
  FillSolid(new_dc, {0, 0, width, height}, background);
  if (bitmap_) BitBlt(new_dc, 0, 0, std::min(width, width_), std::min(height, height_), dc_, 0, 0, SRCCOPY);
  ReleaseBitmap();
  DeleteDC(dc_);
  dc_ = new_dc;
  bitmap_ = bitmap;
  original_bitmap_ = new_original;
  bits_ = bits;
  width_ = width;
  height_ = height;
  return true;
}

bool PictureSurface::LoadPictureResource(HINSTANCE module, int resource_id) {
  HBITMAP picture = static_cast<HBITMAP>(
      LoadImageA(module, MAKEINTRESOURCEA(resource_id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!picture) return false;
  BITMAP size = {};
  bool loaded = false;
  if (GetObjectA(picture, sizeof size, &size) && Resize(size.bmWidth, std::abs(size.bmHeight), RGB(0, 0, 0))) {
    HDC source = CreateCompatibleDC(nullptr);
    if (source) {
      HGDIOBJ original = SelectObject(source, picture);
      loaded = BitBlt(dc_, 0, 0, width_, height_, source, 0, 0, SRCCOPY) != FALSE;
      SelectObject(source, original);
      DeleteDC(source);
    }
  }
  DeleteObject(picture);
  return loaded;
}

bool PictureSurface::SaveBitmap(const std::string& path) const {
  if (!bits_) return false;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteBitmap(file);
  return CloseHandle(file) && written;
}

bool PictureSurface::WriteBitmap(HANDLE file) const {
  const std::vector<uint8_t> headers = BitmapFileHeaders(width_, height_);
  if (headers.empty() || !bits_) return false;
  GdiFlush();  // drawing into the section may still be queued
  const size_t pixel_bytes = BitmapRowStride(width_) * static_cast<size_t>(height_);
  return WriteAll(file, headers.data(), headers.size()) && WriteAll(file, bits_, pixel_bytes);
}

void PictureSurface::Mirror() {
  if (!bits_) return;
  GdiFlush();  // the drawing must be in the section before its bytes move
  MirrorRows(static_cast<uint8_t*>(bits_), width_, height_);
}

void PictureSurface::Draw(HDC target, int x, int y, const RECT& clip) const {
  if (!bitmap_) return;
  const int left = std::max<int>(x, clip.left);
  const int top = std::max<int>(y, clip.top);
  const int right = std::min<int>(x + width_, clip.right);
  const int bottom = std::min<int>(y + height_, clip.bottom);
  if (right <= left || bottom <= top) return;
  BitBlt(target, left, top, right - left, bottom - top, dc_, left - x, top - y, SRCCOPY);
}
