// Tasks on Win32 threads, run under Wine: each task runs once, side by side
// on threads of their own, and levels split over them are the same bytes as
// on one thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "mipmaps.h"
#include "task_runner.h"
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

TEST(ThreadTasks, LevelsMadeOnEveryProcessorAreTheBytesOfOneThread) {
  const int width = 1920, height = 1080;
  std::vector<unsigned char> picture(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<unsigned char>(i * 2654435761u >> 24);
  SetTaskRunner(RunTasksOnWin32Threads, 1);
  const std::vector<MipmapLevel> alone = BuildMipmapChain(picture.data(), width, height, 0, 4);
  SetTaskRunner(RunTasksOnWin32Threads, 4);  // more threads than this machine may have
  const std::vector<MipmapLevel> split = BuildMipmapChain(picture.data(), width, height, 0, 4);
  SetTaskRunner(nullptr, 0);
  ASSERT_EQ(split.size(), alone.size());
  for (size_t i = 0; i < alone.size(); ++i) EXPECT_EQ(split[i].rgb, alone[i].rgb) << "level " << i;
  EXPECT_GE(ProcessorCount(), 1);
}

}  // namespace
