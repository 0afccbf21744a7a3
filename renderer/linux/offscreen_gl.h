// A headless OpenGL context: EGL on Mesa's surfaceless platform, a desktop
// compatibility context, and a framebuffer object standing in for the window.
#pragma once

#include <memory>
#include <string>

#include "frame_pixels.h"

class OffscreenGl {
 public:
  OffscreenGl();
  OffscreenGl(const OffscreenGl&) = delete;
  OffscreenGl& operator=(const OffscreenGl&) = delete;
  ~OffscreenGl();

  // Creates the context, makes it current and binds a width x height
  // framebuffer (RGBA8 colour, 24-bit depth). False with a reason in error().
  bool Create(int width, int height);

  // The colour buffer as it stands after glFinish, bottom row first.
  FramePixels ReadFrame() const;

  // "llvmpipe (...), OpenGL 4.5 (Compatibility Profile) Mesa ..." for reports.
  std::string Describe() const;

  int width() const { return width_; }
  int height() const { return height_; }
  const std::string& error() const { return error_; }

  // The framebuffer-object entry points, fetched for each context.
  struct FramebufferApi;

 private:
  bool Fail(const std::string& reason);
  void Destroy();

  void* display_ = nullptr;  // EGLDisplay
  void* context_ = nullptr;  // EGLContext
  std::unique_ptr<FramebufferApi> fbo_;
  unsigned framebuffer_ = 0;
  unsigned colour_buffer_ = 0;
  unsigned depth_buffer_ = 0;
  int width_ = 0;
  int height_ = 0;
  std::string error_;
};
