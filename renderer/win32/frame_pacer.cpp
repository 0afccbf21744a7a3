#include "frame_pacer.h"

#include <mmsystem.h>

namespace {

// The remaining wait, in milliseconds, below which the pacer spins instead of sleeping.
constexpr long long kSpinMilliseconds = 2;

using SwapIntervalProc = BOOL(WINAPI*)(int interval);

// True if a message is waiting in the thread's queue.
bool MessageWaiting() {
  return MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0;
}

}  // namespace

bool RequestVsync() {
  const auto swap_interval = reinterpret_cast<SwapIntervalProc>(
      reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
  return swap_interval && swap_interval(1);
}

FramePacer::FramePacer(double frames_per_second) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  ticks_per_second_ = frequency.QuadPart;
  period_ = static_cast<long long>(static_cast<double>(ticks_per_second_) / frames_per_second);
  next_due_ = Now();
  timeBeginPeriod(1);  // sleeps and waits then end within about a millisecond
}

FramePacer::~FramePacer() { timeEndPeriod(1); }

long long FramePacer::Now() const {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

bool FramePacer::WaitForFrameDue() {
  for (;;) {
    const long long remaining = next_due_ - Now();
    if (remaining <= 0) return true;
    const long long milliseconds = remaining * 1000 / ticks_per_second_;
    if (milliseconds >= kSpinMilliseconds) {
      // Sleep until a millisecond before the frame is due, or until a message comes.
      const DWORD timeout = static_cast<DWORD>(milliseconds - 1);
      if (MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0)
        return false;
    } else {
      if (MessageWaiting()) return false;
      YieldProcessor();
    }
  }
}

void FramePacer::FrameShown() {
  const long long now = Now();
  next_due_ += period_;
  if (next_due_ < now) next_due_ = now;
}
