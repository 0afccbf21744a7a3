#include "offscreen_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "gl.h"

#ifndef GL_FRAMEBUFFER
#define GL_FRAMEBUFFER 0x8D40
#define GL_RENDERBUFFER 0x8D41
#define GL_COLOR_ATTACHMENT0 0x8CE0
#define GL_DEPTH_ATTACHMENT 0x8D00
#define GL_FRAMEBUFFER_COMPLETE 0x8CD5
#endif
#ifndef GL_MAX_RENDERBUFFER_SIZE
#define GL_MAX_RENDERBUFFER_SIZE 0x84E8
#endif
#ifndef GL_RGBA8
#define GL_RGBA8 0x8058
#endif
#ifndef GL_DEPTH_COMPONENT24
#define GL_DEPTH_COMPONENT24 0x81A6
#endif

// The framebuffer-object entry points are beyond OpenGL 1.1, so they are
// fetched at run time rather than assumed to be exported.
using GenFn = void (*)(GLsizei, GLuint*);
using DeleteFn = void (*)(GLsizei, const GLuint*);
using BindFn = void (*)(GLenum, GLuint);
using StorageFn = void (*)(GLenum, GLenum, GLsizei, GLsizei);
using AttachFn = void (*)(GLenum, GLenum, GLenum, GLuint);
using StatusFn = GLenum (*)(GLenum);

struct OffscreenGl::FramebufferApi {
  GenFn gen_framebuffers = nullptr;
  DeleteFn delete_framebuffers = nullptr;
  BindFn bind_framebuffer = nullptr;
  GenFn gen_renderbuffers = nullptr;
  DeleteFn delete_renderbuffers = nullptr;
  BindFn bind_renderbuffer = nullptr;
  StorageFn renderbuffer_storage = nullptr;
  AttachFn framebuffer_renderbuffer = nullptr;
  StatusFn check_framebuffer_status = nullptr;
};

// Looks up one GL entry point through EGL, cast to the wanted type.
template <typename Fn>
static bool Fetch(const char* name, Fn* fn) {
  *fn = reinterpret_cast<Fn>(eglGetProcAddress(name));
  return *fn != nullptr;
}

// Fills api; false if any entry point is missing.
static bool FetchFramebufferApi(OffscreenGl::FramebufferApi* api) {
  return Fetch("glGenFramebuffers", &api->gen_framebuffers) &&
         Fetch("glDeleteFramebuffers", &api->delete_framebuffers) &&
         Fetch("glBindFramebuffer", &api->bind_framebuffer) &&
         Fetch("glGenRenderbuffers", &api->gen_renderbuffers) &&
         Fetch("glDeleteRenderbuffers", &api->delete_renderbuffers) &&
         Fetch("glBindRenderbuffer", &api->bind_renderbuffer) &&
         Fetch("glRenderbufferStorage", &api->renderbuffer_storage) &&
         Fetch("glFramebufferRenderbuffer", &api->framebuffer_renderbuffer) &&
         Fetch("glCheckFramebufferStatus", &api->check_framebuffer_status);
}

// Opens Mesa's surfaceless display, which needs neither X nor a GPU.
static EGLDisplay OpenSurfacelessDisplay() {
  auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!get_platform_display) return EGL_NO_DISPLAY;
  return get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

// A desktop-GL config; the context never draws to an EGL surface, only to the FBO.
static EGLConfig ChooseConfig(EGLDisplay display) {
  const EGLint attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE,
                               EGL_OPENGL_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (eglChooseConfig(display, attributes, &config, 1, &count) && count > 0) return config;
  return EGL_NO_CONFIG_KHR;
}

// Asks for the compatibility profile the fixed-function scene needs; falls
// back to the driver's default context, which is a compatibility one in Mesa.
static EGLContext CreateCompatibilityContext(EGLDisplay display, EGLConfig config) {
  const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                  EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, compatibility);
  if (context == EGL_NO_CONTEXT) context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
  return context;
}

OffscreenGl::OffscreenGl() : fbo_(std::make_unique<FramebufferApi>()) {}

OffscreenGl::~OffscreenGl() { Destroy(); }

bool OffscreenGl::Fail(const std::string& reason) {
  error_ = reason;
  Destroy();
  return false;
}

bool OffscreenGl::Create(int width, int height) {
  Destroy();
  if (width <= 0 || height <= 0) return Fail("the frame size must be positive");
  EGLDisplay display = OpenSurfacelessDisplay();
  if (display == EGL_NO_DISPLAY) return Fail("EGL has no surfaceless Mesa platform");
  if (!eglInitialize(display, nullptr, nullptr)) return Fail("eglInitialize failed");
  display_ = display;
  if (!eglBindAPI(EGL_OPENGL_API)) return Fail("EGL cannot bind desktop OpenGL");
  EGLContext context = CreateCompatibilityContext(display, ChooseConfig(display));
  if (context == EGL_NO_CONTEXT) return Fail("eglCreateContext failed");
  context_ = context;
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context))
    return Fail("eglMakeCurrent without a surface failed");
  if (!FetchFramebufferApi(fbo_.get())) return Fail("the context has no framebuffer objects");
  GLint largest = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
  if (width > largest || height > largest)
    return Fail("the driver's framebuffers are at most " + std::to_string(largest) + " pixels a side");

  fbo_->gen_framebuffers(1, &framebuffer_);
  fbo_->bind_framebuffer(GL_FRAMEBUFFER, framebuffer_);
  fbo_->gen_renderbuffers(1, &colour_buffer_);
  fbo_->bind_renderbuffer(GL_RENDERBUFFER, colour_buffer_);
  fbo_->renderbuffer_storage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  fbo_->framebuffer_renderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_buffer_);
  fbo_->gen_renderbuffers(1, &depth_buffer_);
  fbo_->bind_renderbuffer(GL_RENDERBUFFER, depth_buffer_);
  fbo_->renderbuffer_storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
  fbo_->framebuffer_renderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_buffer_);
  if (fbo_->check_framebuffer_status(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
    return Fail("the framebuffer is incomplete");

  // With no window, draws and reads go to the FBO's one colour attachment.
  glDrawBuffer(GL_COLOR_ATTACHMENT0);
  glReadBuffer(GL_COLOR_ATTACHMENT0);
  width_ = width;
  height_ = height;
  return true;
}

void OffscreenGl::Destroy() {
  if (!display_) return;
  EGLDisplay display = static_cast<EGLDisplay>(display_);
  if (context_ && eglGetCurrentContext() == static_cast<EGLContext>(context_)) {
    if (framebuffer_) fbo_->delete_framebuffers(1, &framebuffer_);
    if (colour_buffer_) fbo_->delete_renderbuffers(1, &colour_buffer_);
    if (depth_buffer_) fbo_->delete_renderbuffers(1, &depth_buffer_);
  }
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (context_) eglDestroyContext(display, static_cast<EGLContext>(context_));
  // The display is shared by the process and reference-free in EGL 1.4, so it
  // stays initialised for the next context.
  context_ = nullptr;
  display_ = nullptr;
  framebuffer_ = colour_buffer_ = depth_buffer_ = 0;
  width_ = height_ = 0;
}

FramePixels OffscreenGl::ReadFrame() const {
  FramePixels frame;
  if (!context_) return frame;
  glFinish();
  frame.width = width_;
  frame.height = height_;
  frame.rgb.resize(static_cast<size_t>(width_) * height_ * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
  return frame;
}

std::string OffscreenGl::Describe() const {
  if (!context_) return "no context";
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return std::string(renderer ? renderer : "?") + ", OpenGL " + (version ? version : "?");
}
