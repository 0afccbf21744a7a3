// The frame pacer, run under Wine: it never lets frames come faster than the
// set rate, it gives way at once to a waiting window message, and after a late
// frame it starts afresh instead of rushing. Only lower bounds on time are
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

// Waits for the next frame, handling (dropping) any message that comes first.
void WaitThroughMessages(FramePacer& pacer) {
  while (!pacer.WaitForFrameDue()) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
}

TEST(FramePacer, FramesComeNoFasterThanTheRate) {
  FramePacer pacer(60.0);
  const double start = Seconds();
  for (int frame = 0; frame < 30; ++frame) {
    WaitThroughMessages(pacer);
    pacer.FrameShown();
  }
  // The first frame is due at once, each later one a period after the one before.
  EXPECT_GE(Seconds() - start, 29 / 60.0 - 0.002);
}

TEST(FramePacer, AWaitingMessageEndsTheWaitAtOnce) {
  FramePacer pacer(1.0);  // the next frame is a second away
  ASSERT_TRUE(pacer.WaitForFrameDue());
  pacer.FrameShown();
  ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0));
  EXPECT_FALSE(pacer.WaitForFrameDue());
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
}

TEST(FramePacer, ALateFrameIsNotFollowedByABurst) {
  FramePacer pacer(60.0);
  WaitThroughMessages(pacer);
  Sleep(100);  // this frame took six periods to draw
  pacer.FrameShown();
  WaitThroughMessages(pacer);  // the next one is due at once
  pacer.FrameShown();
  const double shown = Seconds();
  WaitThroughMessages(pacer);
  // No catch-up frames for the lost periods: the one after waits a period again.
  EXPECT_GE(Seconds() - shown, 1 / 60.0 - 0.003);
}

}  // namespace
