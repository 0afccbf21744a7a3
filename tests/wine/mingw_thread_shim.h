// Forced into the cross-built GoogleTest: MinGW's win32 thread model (GCC 12)
// ships no std::mutex or std::condition_variable, which GoogleTest's port
// layer names. These minimal stand-ins over SRW locks are enough for it; the
// tests themselves run on one thread.
#pragma once

#include <condition_variable>
#include <mutex>

#if defined(__MINGW32__) && !defined(_GLIBCXX_HAS_GTHREADS)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace std {

class mutex {
 public:
  mutex() = default;
  mutex(const mutex&) = delete;
  mutex& operator=(const mutex&) = delete;
  void lock() { AcquireSRWLockExclusive(&lock_); }
  void unlock() { ReleaseSRWLockExclusive(&lock_); }
  SRWLOCK* native_handle() { return &lock_; }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
};

class condition_variable {
 public:
  condition_variable() = default;
  condition_variable(const condition_variable&) = delete;
  condition_variable& operator=(const condition_variable&) = delete;
  void notify_all() { WakeAllConditionVariable(&variable_); }
  void notify_one() { WakeConditionVariable(&variable_); }
  template <class Predicate>
  void wait(unique_lock<mutex>& lock, Predicate ready) {
    while (!ready()) SleepConditionVariableSRW(&variable_, lock.mutex()->native_handle(), INFINITE, 0);
  }

 private:
  CONDITION_VARIABLE variable_ = CONDITION_VARIABLE_INIT;
};

}  // namespace std
#endif
