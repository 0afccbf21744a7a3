// Work split over the machine's cores. The core cannot count on std::thread
// (MinGW's win32 thread model has none), so the platform may install its own
// way of running tasks side by side; the portable default uses std::thread
// where the library has it and the calling thread alone where it has not.
#pragma once

#include <functional>

// Runs task(0) .. task(count - 1) side by side and returns when all have ended.
using TaskRunner = void (*)(int count, const std::function<void(int)>& task);

// Installs the platform's runner and how many tasks it should be given at
// most. A null runner restores the portable default; threads below 1 mean the
// count the hardware reports (1 where it reports none).
void SetTaskRunner(TaskRunner runner, int threads);

// Splits [0, count) into contiguous ranges, one a thread, each at least
// min_range long (but for a shorter whole), and runs work(begin, end) on each
// through the installed runner; a count below 2 * min_range stays on the
// calling thread.
void ForEachRange(int count, int min_range, const std::function<void(int begin, int end)>& work);

// The fewest rows of width pixels worth a task of their own: below about
// 65536 pixels a thread costs more than it saves.
int RowsPerTask(int width);
