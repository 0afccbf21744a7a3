#include "frame_pacer.h"

#include "system_libraries.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002  // Windows 10 1803 and later
#endif

namespace {

using SwapIntervalProc = BOOL(WINAPI*)(int interval);
using TimerPeriodProc = UINT(WINAPI*)(UINT milliseconds);  // timeBeginPeriod, timeEndPeriod

// winmm.dll is loaded only by the systems that need the timer period: importing
// it would add its load to every start.
TimerPeriodProc TimerPeriodEntry(HMODULE winmm, const char* name) {
  return reinterpret_cast<TimerPeriodProc>(reinterpret_cast<void*>(GetProcAddress(winmm, name)));
}

long long CounterTicks() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

long long CounterFrequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

// The ticks as milliseconds, rounded up: a wait may end late, never early.
DWORD CeilMilliseconds(long long ticks, long long ticks_per_second) {
  return static_cast<DWORD>((ticks * 1000 + ticks_per_second - 1) / ticks_per_second);
}

}  // namespace

bool RequestVsync() {
  const auto swap_interval = reinterpret_cast<SwapIntervalProc>(
      reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
  return swap_interval && swap_interval(1);
}

FramePacer::FramePacer(double frames_per_second, bool paced)
    : schedule_(CounterTicks, CounterFrequency(), frames_per_second), paced_(paced) {
  if (!paced_) return;
  timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
  if (timer_) return;
  // Older systems: a plain timer, whose waits end within a millisecond only
  // with the system timer period at 1 ms.
  timer_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  TakeTimerPeriod();
}

FramePacer::~FramePacer() {
  if (timer_) CloseHandle(timer_);
  if (winmm_) {
    if (const TimerPeriodProc end_period = TimerPeriodEntry(winmm_, "timeEndPeriod")) end_period(1);
    FreeLibrary(winmm_);
  }
}

// Sets the system timer period to 1 ms; winmm_ stays loaded only if it was set.
void FramePacer::TakeTimerPeriod() {
  winmm_ = LoadSystemLibrary("winmm.dll");
  if (!winmm_) return;
  const TimerPeriodProc begin_period = TimerPeriodEntry(winmm_, "timeBeginPeriod");
  if (begin_period && begin_period(1) == 0) return;  // TIMERR_NOERROR
  FreeLibrary(winmm_);
  winmm_ = nullptr;
}

bool FramePacer::WaitForFrameDue() {
  if (!paced_) return true;
  for (;;) {
    const long long remaining = schedule_.TicksUntilDue();
    if (remaining <= 0) return true;
    if (!(timer_ ? WaitOnTimer(remaining) : WaitOnQueue(remaining))) return false;
  }
}

// Sleeps on the timer until the ticks have passed; false if a message came first.
bool FramePacer::WaitOnTimer(long long ticks) {
  LARGE_INTEGER due;
  due.QuadPart = -((ticks * 10000000 + schedule_.ticks_per_second() - 1) / schedule_.ticks_per_second());
  if (!SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) return WaitOnQueue(ticks);
  const DWORD woken = MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (woken == WAIT_OBJECT_0) return true;
  if (woken == WAIT_OBJECT_0 + 1) return false;
  return WaitOnQueue(ticks);  // the wait itself failed
}

// Without a timer: the message wait's own timeout.
bool FramePacer::WaitOnQueue(long long ticks) {
  const DWORD timeout = CeilMilliseconds(ticks, schedule_.ticks_per_second());
  return MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0;
}
