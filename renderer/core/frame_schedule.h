// When the next frame is due, on any clock that counts ticks: the pacing rule
// the Windows renderer and the Linux viewer share, so that the flight (which
// moves a fixed step per frame) keeps one speed on any machine.
#pragma once

constexpr double kFramesPerSecond = 60.0;

class FrameSchedule {
 public:
  using Clock = long long (*)();  // the current time in ticks

  // The first frame is due at once.
  FrameSchedule(Clock clock, long long ticks_per_second, double frames_per_second);

  // Ticks left until the next frame is due; zero or negative when it is due.
  long long TicksUntilDue() const { return next_due_ - clock_(); }
  long long ticks_per_second() const { return ticks_per_second_; }

  // Schedules the next frame one period after this one's due time; a loop
  // that has fallen behind starts afresh instead of rushing to catch up.
  void FrameShown();

 private:
  Clock clock_;
  long long ticks_per_second_;
  long long period_;
  long long next_due_;
};
