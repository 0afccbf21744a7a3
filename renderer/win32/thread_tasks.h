// Tasks side by side on Win32 threads, for the core's work splitting: MinGW's
// win32 thread model has no std::thread.
#pragma once

#include <functional>

// Runs task(0) .. task(count - 1), the last on the calling thread and each
// other on a new thread (on the caller too if a thread cannot be made), and
// returns when all have ended.
void RunTasksOnWin32Threads(int count, const std::function<void(int)>& task);

// The processors the system gives this process.
int ProcessorCount();

// Installs RunTasksOnWin32Threads with one task a processor, less the one the
// main thread keeps busy with the display, the window and the driver while the
// pictures are prepared (one task where there is one processor): on two
// processors a second task slowed the context by more than it saved.
void UseSpareProcessors();
