#include "frame_pacer.h"

FramePacer::FramePacer(double frames_per_second)
    : period_(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / frames_per_second))),
      next_due_(Clock::now()) {}

void FramePacer::FrameShown() {
  const Clock::time_point now = Clock::now();
  next_due_ += period_;
  if (next_due_ < now) next_due_ = now;
}
