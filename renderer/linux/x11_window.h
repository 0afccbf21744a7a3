// The on-screen window: an X11 window of our own, or one someone else made
// (a screensaver's window, the root window), with a GLX context on it.
#pragma once

#include <chrono>
#include <string>

class X11GlWindow {
 public:
  X11GlWindow() = default;
  X11GlWindow(const X11GlWindow&) = delete;
  X11GlWindow& operator=(const X11GlWindow&) = delete;
  ~X11GlWindow();

  // Opens the display, creates and maps a width x height window (or one
  // covering the screen), makes its context current and waits until it is
  // shown. False with a reason in error(); whatever was made is released.
  bool Create(const char* title, int width, int height, bool fullscreen);
  // Draws into an existing window (0: the root window) at its own size and
  // follows its size changes; the window is left as it was at the end. Its
  // visual must support OpenGL. False with a reason in error().
  bool Adopt(unsigned long window_id);

  // Handles every queued event without waiting: Esc, the window manager's
  // close request, size changes (passed to ResizeViewport) and minimising.
  void ProcessEvents();
  // Waits until an event is queued or the time is up, whichever comes first.
  void WaitForEvents(std::chrono::nanoseconds timeout);
  // Asks GLX to swap on vertical blank; false where no swap-control extension exists.
  bool RequestVsync();
  void SwapBuffers();
  // Writes a line of text in the bottom-left corner over the frame, in the X
  // font "fixed" (nothing where the server has none), leaving GL's state as
  // it was.
  void DrawCornerText(const std::string& text);

  bool escape_pressed() const { return escape_pressed_; }
  bool close_requested() const { return close_requested_; }
  bool active() const { return active_; }  // false while unmapped (minimised)
  int width() const { return width_; }
  int height() const { return height_; }
  // The open display (Display*) and the drawn window, for helpers that draw
  // pictures for it.
  void* display() const { return display_; }
  unsigned long window() const { return window_; }
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& reason);
  bool OpenDisplay();
  bool MakeCurrent();
  void Destroy();
  void MakeFullscreen();
  void HideCursor();

  void* display_ = nullptr;   // Display*
  unsigned long window_ = 0;  // Window
  unsigned long colormap_ = 0;
  unsigned long cursor_ = 0;
  void* context_ = nullptr;   // GLXContext
  bool adopted_ = false;      // someone else's window: never destroyed here
  bool double_buffered_ = true;
  unsigned font_lists_ = 0;  // display lists of the corner text's glyphs, 0 until needed
  bool font_missing_ = false;
  int font_advance_ = 0;     // the width of one of its glyphs: the font is fixed-width
  unsigned long delete_atom_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool escape_pressed_ = false;
  bool close_requested_ = false;
  bool active_ = true;
  std::string error_;
};
