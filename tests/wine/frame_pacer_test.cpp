// The frame pacer, run under Wine: it never lets frames come faster than the
// set rate, it gives way at once to a waiting window message, after a late
// frame it starts afresh instead of rushing, and it waits without spinning.
// Only lower bounds on time, and an upper bound on processor time, are
// checked, so a busy machine cannot make the checks fail.
#include <windows.h>

#include <gtest/gtest.h>

#include "frame_pacer.h"

namespace {

// Seconds on the high-resolution counter.
double Seconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Processor time of this process, user and kernel.
double CpuSeconds() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

// Waits for the next frame, handling (dropping) any message that comes first.
void WaitThroughMessages(FramePacer& pacer) {
  while (!pacer.WaitForFrameDue()) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
}

TEST(FramePacer, FramesComeNoFasterThanTheRate) {
  FramePacer pacer(60.0, true);
  const double start = Seconds();
  for (int frame = 0; frame < 30; ++frame) {
    WaitThroughMessages(pacer);
    pacer.schedule().FrameShown();
  }
  // The first frame is due at once, each later one a period after the one before.
  EXPECT_GE(Seconds() - start, 29 / 60.0 - 0.002);
}

TEST(FramePacer, AWaitingMessageEndsTheWaitAtOnce) {
  FramePacer pacer(1.0, true);  // the next frame is a second away
  ASSERT_TRUE(pacer.WaitForFrameDue());
  pacer.schedule().FrameShown();
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0));
  EXPECT_FALSE(pacer.WaitForFrameDue());
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
}

TEST(FramePacer, ALateFrameIsNotFollowedByABurst) {
  FramePacer pacer(60.0, true);
  WaitThroughMessages(pacer);
  Sleep(100);  // this frame took six periods to draw
  pacer.schedule().FrameShown();
  WaitThroughMessages(pacer);  // the next one is due at once
  pacer.schedule().FrameShown();
  const double shown = Seconds();
  WaitThroughMessages(pacer);
  // No catch-up frames for the lost periods: the one after waits a period again.
  EXPECT_GE(Seconds() - shown, 1 / 60.0 - 0.003);
}

TEST(FramePacer, WaitingDoesNotSpin) {
  FramePacer pacer(60.0, true);
  const double cpu_start = CpuSeconds();
  const double start = Seconds();
  for (int frame = 0; frame < 60; ++frame) {
    WaitThroughMessages(pacer);
    pacer.schedule().FrameShown();
  }
  const double waited = Seconds() - start;
  // A wait that spun would take most of the second; sleeping on the timer
  // takes only the cost of setting it and waking (20 to 40 ms under Wine,
  // counted in 10 ms steps).
  EXPECT_LT(CpuSeconds() - cpu_start, 0.25) << "over " << waited << " s of pacing";
}

TEST(FramePacer, UnpacedNeverWaits) {
  FramePacer pacer(1.0, false);
  ASSERT_TRUE(pacer.WaitForFrameDue());
  pacer.schedule().FrameShown();
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0));
  EXPECT_TRUE(pacer.WaitForFrameDue());  // a second early, with a message waiting
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace
