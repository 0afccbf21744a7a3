#include "thread_tasks.h"

#include <windows.h>

#include <vector>

namespace {

struct Task {
  const std::function<void(int)>* run;
  int index;
};

DWORD WINAPI RunTask(void* parameter) {
  const Task* task = static_cast<const Task*>(parameter);
  (*task->run)(task->index);
  return 0;
}

}  // namespace

void RunTasksOnWin32Threads(int count, const std::function<void(int)>& task) {
  if (count <= 0) return;
  std::vector<Task> tasks(count);
  std::vector<HANDLE> threads;
  for (int i = 0; i + 1 < count; ++i) {
    tasks[i] = {&task, i};
    HANDLE thread = CreateThread(nullptr, 0, RunTask, &tasks[i], 0, nullptr);
    if (thread)
      threads.push_back(thread);
    else
      task(i);
  }
  task(count - 1);
  for (HANDLE thread : threads) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
}

int ProcessorCount() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}
