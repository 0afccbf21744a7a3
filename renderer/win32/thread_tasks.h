// Tasks side by side on Win32 threads, for the host's runner: MinGW's win32
// thread model has no std::thread.
#pragma once

#include <functional>

// Runs task(0) .. task(count - 1), the last on the calling thread and each
// other on a new thread (on the caller too if a thread cannot be made), and
// returns when all have ended.
void RunTasksOnWin32Threads(int count, const std::function<void(int)>& task);

// The processors the system gives this process.
int ProcessorCount();
