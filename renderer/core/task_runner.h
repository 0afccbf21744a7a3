// Work split over the machine's cores. The core cannot count on std::thread
// (MinGW's win32 thread model has none), so a platform may lend its own way of
// running tasks side by side by overriding TaskRunner. The work itself stays
// a std::function: it is a closure over one loop's data, not a platform hook.
#pragma once

#include <functional>

// The portable runner as it stands: std::thread where the library has it and
// the calling thread alone where it has not, as many tasks as the hardware
// reports threads (1 where it reports none).
class TaskRunner {
 public:
  virtual ~TaskRunner() = default;
  // How many tasks RunTasks should be given at most; at least 1.
  virtual int TaskThreads() const;
  // Runs task(0) .. task(count - 1) side by side and returns when all have ended.
  virtual void RunTasks(int count, const std::function<void(int)>& task) const;
};

// Splits [0, count) into contiguous ranges, one a thread, each at least
// min_range long (but for a shorter whole), and runs work(begin, end) on each
// through tasks; a count below 2 * min_range stays on the calling thread.
void ForEachRange(const TaskRunner& tasks, int count, int min_range,
                  const std::function<void(int begin, int end)>& work);

// The fewest rows of width pixels worth a task of their own: below about
// 65536 pixels a thread costs more than it saves.
int RowsPerTask(int width);
