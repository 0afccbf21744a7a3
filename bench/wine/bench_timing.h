// Small helpers the Windows benchmark programs share: wall-clock time that the
// Linux-side script can compare with its own, and writing one result file.
#pragma once

#include <windows.h>

#include <cstdio>

// Seconds since 1970 (the Unix epoch) with sub-microsecond resolution.
inline double UnixSeconds() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<double>(ticks - 116444736000000000ull) / 1e7;  // 100 ns ticks since 1601
}

// Seconds on the high-resolution counter.
inline double CounterSeconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Processor time, user and kernel, of all the process's threads.
inline double ProcessCpuSeconds() {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

// Writes one line "name value" to the file, replacing it.
inline void WriteResult(const char* path, const char* name, double value) {
  FILE* out = std::fopen(path, "w");
  if (!out) return;
  std::fprintf(out, "%s %.6f\n", name, value);
  std::fclose(out);
}
