// Tasks on Win32 threads, run under Wine: each task runs once, side by side
// on a thread of its own, the last on the caller's.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "thread_tasks.h"

namespace {

TEST(ThreadTasks, EachTaskRunsOnceOnAThreadOfItsOwnTheLastOnTheCaller) {
  for (int count : {1, 2, 5}) {
    std::vector<LONG> runs(count, 0);
    std::vector<DWORD> threads(count, 0);
    RunTasksOnWin32Threads(count, [&](int i) {
      InterlockedIncrement(&runs[i]);
      threads[i] = GetCurrentThreadId();
    });
    EXPECT_EQ(runs, std::vector<LONG>(count, 1)) << count << " tasks";
    EXPECT_EQ(std::set<DWORD>(threads.begin(), threads.end()).size(), static_cast<size_t>(count));
    EXPECT_EQ(threads.back(), GetCurrentThreadId());
  }
}

}  // namespace
