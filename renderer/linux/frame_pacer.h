// Paces the on-screen loop to a fixed rate, as the Windows renderer does, so
// that the flight (which moves a fixed step per frame) keeps one speed on any
// machine: vsync where GLX offers it, and a wait for the next frame's time.
#pragma once

#include <chrono>

constexpr double kFramesPerSecond = 60.0;

class FramePacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit FramePacer(double frames_per_second);

  // Time left until the next frame is due; zero or negative when it is due.
  Clock::duration TimeUntilDue() const { return next_due_ - Clock::now(); }
  // Schedules the next frame one period after this one's due time; a loop
  // that has fallen behind starts afresh instead of rushing to catch up.
  void FrameShown();

 private:
  Clock::duration period_;
  Clock::time_point next_due_;
};
