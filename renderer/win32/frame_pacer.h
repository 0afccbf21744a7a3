// Paces the frame loop to a fixed rate without holding a processor: vsync
// where the driver offers it, and a precise wait for the next frame's time
// that returns as soon as a window message arrives.
#pragma once

#include <windows.h>

constexpr double kFramesPerSecond = 60.0;

// Asks the current OpenGL context to swap on vertical blank
// (WGL_EXT_swap_control); false where the extension is missing.
bool RequestVsync();

class FramePacer {
 public:
  explicit FramePacer(double frames_per_second);
  ~FramePacer();
  FramePacer(const FramePacer&) = delete;
  FramePacer& operator=(const FramePacer&) = delete;

  // Waits until the next frame is due. False if a message arrived first
  // (the caller handles it and asks again).
  bool WaitForFrameDue();
  // Schedules the next frame one period after this one; a loop that has
  // fallen behind starts afresh instead of rushing to catch up.
  void FrameShown();

 private:
  long long Now() const;

  long long ticks_per_second_ = 1;
  long long period_ = 1;
  long long next_due_ = 0;
};
