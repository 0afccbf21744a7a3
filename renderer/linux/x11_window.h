// The on-screen window: an X11 window with a double-buffered GLX context.
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

  // Handles every queued event without waiting: Esc, the window manager's
  // close request, size changes (passed to ResizeViewport) and minimising.
  void ProcessEvents();
  // Waits until an event is queued or the time is up, whichever comes first.
  void WaitForEvents(std::chrono::nanoseconds timeout);
  // Asks GLX to swap on vertical blank; false where no swap-control extension exists.
  bool RequestVsync();
  void SwapBuffers();

  bool escape_pressed() const { return escape_pressed_; }
  bool close_requested() const { return close_requested_; }
  bool active() const { return active_; }  // false while unmapped (minimised)
  int width() const { return width_; }
  int height() const { return height_; }
  unsigned long window_id() const { return window_; }
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& reason);
  void Destroy();
  void MakeFullscreen();
  void HideCursor();

  void* display_ = nullptr;   // Display*
  unsigned long window_ = 0;  // Window
  unsigned long colormap_ = 0;
  unsigned long cursor_ = 0;
  void* context_ = nullptr;   // GLXContext
  unsigned long delete_atom_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool escape_pressed_ = false;
  bool close_requested_ = false;
  bool active_ = true;
  std::string error_;
};
