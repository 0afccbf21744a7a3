#include "frame_schedule.h"

FrameSchedule::FrameSchedule(Clock clock, long long ticks_per_second, double frames_per_second)
    : clock_(clock),
      ticks_per_second_(ticks_per_second),
      period_(static_cast<long long>(static_cast<double>(ticks_per_second) / frames_per_second)),
      next_due_(clock()) {}

void FrameSchedule::FrameShown() {
  const long long now = clock_();
  next_due_ += period_;
  if (next_due_ < now) next_due_ = now;
}
