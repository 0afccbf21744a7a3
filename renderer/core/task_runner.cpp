#include "task_runner.h"

#include <algorithm>
#include <system_error>
#include <vector>

#if defined(_GLIBCXX_HAS_GTHREADS) || defined(_LIBCPP_VERSION) || defined(_MSC_VER)
#include <thread>
#define SKYLINER_STD_THREADS 1
#endif

int TaskRunner::TaskThreads() const {
#ifdef SKYLINER_STD_THREADS
  return std::max(1u, std::thread::hardware_concurrency());
#else
  return 1;
#endif
}

// The last task runs on the calling thread, the others each on a new one (on
// the calling thread too when no thread can be made).
void TaskRunner::RunTasks(int count, const std::function<void(int)>& task) const {
#ifdef SKYLINER_STD_THREADS
  std::vector<std::thread> threads;
  for (int i = 0; i + 1 < count; ++i) {
    try {
      threads.emplace_back(task, i);
    } catch (const std::system_error&) {
      task(i);
    }
  }
  if (count > 0) task(count - 1);
  for (std::thread& thread : threads) thread.join();
#else
  for (int i = 0; i < count; ++i) task(i);
#endif
}

void ForEachRange(const TaskRunner& runner, int count, int min_range,
                  const std::function<void(int begin, int end)>& work) {
  const int tasks = std::min(std::max(1, runner.TaskThreads()), count / std::max(1, min_range));
  if (tasks < 2) {
    if (count > 0) work(0, count);
    return;
  }
  // Ranges differ by at most one item, so the threads end together.
  runner.RunTasks(tasks, [&](int task) {
    work(static_cast<int>(static_cast<long long>(count) * task / tasks),
         static_cast<int>(static_cast<long long>(count) * (task + 1) / tasks));
  });
}

int RowsPerTask(int width) { return std::max(1, (1 << 16) / std::max(1, width)); }
