#include "x11_window.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <poll.h>

#include <cstdio>
#include <cstring>

#include "flight_scene.h"
#include "scene_setup.h"

// Xlib handles are kept as plain integers and pointers in the header so that
// users of the class need not include Xlib.
static Display* AsDisplay(void* display) { return static_cast<Display*>(display); }

// What the X error handler has seen. Xlib's handler is one per process and
// is given no pointer of ours, so what it notes lives here, the one place:
// window_lost is set when a request named a window or drawable that no
// longer exists (the owner of an adopted window destroyed it, as a
// screensaver does when it ends its hack), which ends the flight quietly;
// reported once any other error has been printed.
struct XErrorsSeen {
  bool window_lost = false;
  bool reported = false;
};
static XErrorsSeen x_errors;

// Xlib's own handler prints and exits; this one notes a vanished window and
// reports anything else once, then goes on: a request that fails each frame
// would otherwise print a line each frame.
static int NoteXError(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadDrawable) {
    x_errors.window_lost = true;
    return 0;
  }
  if (x_errors.reported) return 0;
  x_errors.reported = true;
  char text[160];
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "X error: %s (request %d.%d)\n", text, error->request_code, error->minor_code);
  return 0;
}

static std::string ToHex(unsigned long value) {
  char text[24];
  std::snprintf(text, sizeof text, "%lx", value);
  return text;
}

X11GlWindow::~X11GlWindow() { Destroy(); }

bool X11GlWindow::Fail(const std::string& reason) {
  error_ = reason;
  Destroy();
  return false;
}

bool X11GlWindow::OpenDisplay() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return Fail("cannot open the X display (is DISPLAY set?)");
  display_ = display;
  XSetErrorHandler(NoteXError);
  x_errors.window_lost = false;
  return true;
}

bool X11GlWindow::MakeCurrent() {
  if (!glXMakeCurrent(AsDisplay(display_), window_, static_cast<GLXContext>(context_)))
    return Fail("cannot make the GLX context current");
  return true;
}

bool X11GlWindow::Create(const char* title, int width, int height, bool fullscreen) {
  if (!OpenDisplay()) return false;
  Display* display = AsDisplay(display_);
  const int screen = DefaultScreen(display);

  // The renderer's pixel format: RGBA, double-buffered, a 16-bit depth buffer at least.
  int attributes[] = {GLX_RGBA,      GLX_DOUBLEBUFFER, GLX_RED_SIZE,   8, GLX_GREEN_SIZE, 8,
                      GLX_BLUE_SIZE, 8,                GLX_DEPTH_SIZE, 16, None};
  XVisualInfo* visual = glXChooseVisual(display, screen, attributes);
  if (!visual) return Fail("no GLX visual with RGBA colour, double buffering and depth");

  const Window root = RootWindow(display, screen);
  if (fullscreen) {
    width = DisplayWidth(display, screen);
    height = DisplayHeight(display, screen);
  }
  XSetWindowAttributes window_attributes;
  std::memset(&window_attributes, 0, sizeof window_attributes);
  colormap_ = XCreateColormap(display, root, visual->visual, AllocNone);
  window_attributes.colormap = colormap_;
  window_attributes.event_mask = KeyPressMask | StructureNotifyMask | ExposureMask;
  window_ = XCreateWindow(display, root, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                          0, visual->depth, InputOutput, visual->visual, CWColormap | CWEventMask,
                          &window_attributes);
  context_ = glXCreateContext(display, visual, nullptr, True);
  XFree(visual);
  if (!window_) return Fail("cannot create the window");
  if (!context_) return Fail("cannot create a GLX context");

  XStoreName(display, window_, title);
  delete_atom_ = XInternAtom(display, "WM_DELETE_WINDOW", False);
  Atom delete_atom = delete_atom_;
  XSetWMProtocols(display, window_, &delete_atom, 1);
  if (fullscreen) {
    MakeFullscreen();
    HideCursor();
  }
  XMapRaised(display, window_);
  // Draw only once the window is on screen, as the renderer shows its window first.
  for (XEvent event;;) {
    XWindowEvent(display, window_, StructureNotifyMask, &event);
    if (event.type == MapNotify) break;
  }
  if (!MakeCurrent()) return false;
  width_ = width;
  height_ = height;
  return true;
}

bool X11GlWindow::Adopt(unsigned long window_id) {
  if (!OpenDisplay()) return false;
  Display* display = AsDisplay(display_);
  const Window window = window_id ? window_id : DefaultRootWindow(display);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes) || x_errors.window_lost)
    return Fail("no window 0x" + ToHex(window) + " on this display");
  if (attributes.c_class == InputOnly)
    return Fail("window 0x" + ToHex(window) + " is input-only: nothing can be drawn in it");
  window_ = window;
  adopted_ = true;

  // The context must match the visual the window was made with.
  XVisualInfo wanted;
  std::memset(&wanted, 0, sizeof wanted);
  wanted.visualid = XVisualIDFromVisual(attributes.visual);
  int count = 0;
  XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
  int uses_gl = 0, double_buffered = 0;
  if (visual) {
    glXGetConfig(display, visual, GLX_USE_GL, &uses_gl);
    glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &double_buffered);
    if (uses_gl) context_ = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
  }
  if (!uses_gl) return Fail("the window's visual does not support OpenGL");
  if (!context_) return Fail("cannot create a GLX context");
  double_buffered_ = double_buffered != 0;
  // Only the structure events: the owner keeps the input (and other masks
  // may be taken by one client only).
  XSelectInput(display, window, StructureNotifyMask);
  active_ = attributes.map_state != IsUnmapped;
  if (!MakeCurrent()) return false;
  width_ = attributes.width;
  height_ = attributes.height;
  return true;
}

// Asks the window manager for a full-screen window; without one the window
// already covers the screen from its top-left corner.
void X11GlWindow::MakeFullscreen() {
  Display* display = AsDisplay(display_);
  Atom state = XInternAtom(display, "_NET_WM_STATE", False);
  Atom full = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  XChangeProperty(display, window_, state, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&full), 1);
}

// Full screen hides the pointer, as the Windows renderer does.
void X11GlWindow::HideCursor() {
  Display* display = AsDisplay(display_);
  static const char kEmpty[1] = {0};
  Pixmap blank = XCreateBitmapFromData(display, window_, kEmpty, 1, 1);
  XColor black;
  std::memset(&black, 0, sizeof black);
  cursor_ = XCreatePixmapCursor(display, blank, blank, &black, &black, 0, 0);
  XDefineCursor(display, window_, cursor_);
  XFreePixmap(display, blank);
}

void X11GlWindow::ProcessEvents() {
  Display* display = AsDisplay(display_);
  if (x_errors.window_lost) close_requested_ = true;
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case KeyPress:
        // Latched: a tap is never lost, however quickly the key comes back up.
        if (XLookupKeysym(&event.xkey, 0) == XK_Escape) escape_pressed_ = true;
        break;
      case ClientMessage:
        if (static_cast<unsigned long>(event.xclient.data.l[0]) == delete_atom_) close_requested_ = true;
        break;
      case ConfigureNotify:
        if (event.xconfigure.width != width_ || event.xconfigure.height != height_) {
          width_ = event.xconfigure.width;
          height_ = event.xconfigure.height;
          ResizeViewport(width_, height_);
        }
        break;
      case MapNotify:
        active_ = true;
        break;
      case UnmapNotify:
        active_ = false;
        break;
      case DestroyNotify:
        // Someone else destroyed the window: there is nothing left to draw to or release.
        window_ = 0;
        close_requested_ = true;
        break;
      default:
        break;
    }
  }
}

void X11GlWindow::WaitForEvents(std::chrono::nanoseconds timeout) {
  Display* display = AsDisplay(display_);
  if (timeout.count() <= 0 || XPending(display) > 0) return;
  pollfd connection = {ConnectionNumber(display), POLLIN, 0};
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
  const timespec wait = {static_cast<time_t>(seconds.count()), static_cast<long>((timeout - seconds).count())};
  ppoll(&connection, 1, &wait, nullptr);
}

bool X11GlWindow::RequestVsync() {
  using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
  using SwapIntervalMesa = int (*)(unsigned);
  Display* display = AsDisplay(display_);
  const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
  const std::string available = extensions ? extensions : "";
  if (available.find("GLX_EXT_swap_control") != std::string::npos) {
    auto swap_interval = reinterpret_cast<SwapIntervalExt>(
        glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
    if (swap_interval) {
      swap_interval(display, window_, 1);
      return true;
    }
  }
  if (available.find("GLX_MESA_swap_control") != std::string::npos) {
    auto swap_interval = reinterpret_cast<SwapIntervalMesa>(
        glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
    return swap_interval && swap_interval(1) == 0;
  }
  return false;
}

void X11GlWindow::SwapBuffers() {
  if (double_buffered_) {
    glXSwapBuffers(AsDisplay(display_), window_);
  } else {
    glFlush();
  }
}

// The printable ASCII glyphs, as display lists.
constexpr int kFirstGlyph = 32;
constexpr int kGlyphCount = 95;

void X11GlWindow::DrawCornerText(const std::string& text) {
  if (font_missing_) return;
  Display* display = AsDisplay(display_);
  if (!font_lists_) {
    XFontStruct* font = XLoadQueryFont(display, "fixed");
    font_missing_ = !font;
    if (!font) return;
    font_lists_ = glGenLists(kGlyphCount);
    glXUseXFont(font->fid, kFirstGlyph, kGlyphCount, static_cast<int>(font_lists_));
    font_advance_ = font->max_bounds.width;
    XFreeFont(display, font);
  }
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, width_, 0, height_, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glColor3f(1, 1, 1);
  glRasterPos2i(8, 8);
  for (char c : text) {
    // Mesa's lists for blank glyphs do not move on, so a blank moves by hand.
    if (c == ' ') glBitmap(0, 0, 0, 0, static_cast<GLfloat>(font_advance_), 0, nullptr);
    if (c > kFirstGlyph && c < kFirstGlyph + kGlyphCount) glCallList(font_lists_ + (c - kFirstGlyph));
  }
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}

void X11GlWindow::Destroy() {
  Display* display = AsDisplay(display_);
  if (!display) return;
  if (context_) {
    if (font_lists_) glDeleteLists(font_lists_, kGlyphCount);
    font_lists_ = 0;
    glXMakeCurrent(display, None, nullptr);
    glXDestroyContext(display, static_cast<GLXContext>(context_));
  }
  if (window_ && !adopted_) XDestroyWindow(display, window_);
  if (cursor_) XFreeCursor(display, cursor_);
  if (colormap_) XFreeColormap(display, colormap_);
  XCloseDisplay(display);
  display_ = nullptr;
  context_ = nullptr;
  window_ = colormap_ = cursor_ = 0;
  adopted_ = false;
}
