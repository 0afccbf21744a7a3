// Paces the frame loop to a fixed rate without holding a processor: vsync
// where the driver offers it, and a wait on a waitable timer for the next
// frame's time that returns as soon as a window message arrives.
#pragma once

#include <windows.h>

#include "frame_schedule.h"

// Asks the current OpenGL context to swap on vertical blank
// (WGL_EXT_swap_control); false where the extension is missing.
bool RequestVsync();

class FramePacer {
 public:
  // Unpaced, the pacer only keeps the schedule and never waits; paced, it
  // holds a timer (and, without a high-resolution one, the 1 ms system timer
  // period) until it is destroyed.
  FramePacer(double frames_per_second, bool paced);
  ~FramePacer();
  FramePacer(const FramePacer&) = delete;
  FramePacer& operator=(const FramePacer&) = delete;

  // Waits until the next frame is due. False if a message arrived first
  // (the caller handles it and asks again). Unpaced: true at once.
  bool WaitForFrameDue();
  FrameSchedule& schedule() { return schedule_; }

 private:
  bool WaitOnTimer(long long ticks);
  bool WaitOnQueue(long long ticks);
  void TakeTimerPeriod();

  FrameSchedule schedule_;
  bool paced_;
  HANDLE timer_ = nullptr;
  HMODULE winmm_ = nullptr;  // loaded while the 1 ms timer period is taken
};
