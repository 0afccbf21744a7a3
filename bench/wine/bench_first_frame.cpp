// The renderer, unpaced, ending right after its first swapped frame. It writes
// the wall-clock time of that swap to first_frame.txt in the current folder.
#include <windows.h>

#include "bench_timing.h"
#include "renderer_run.h"

namespace {

// Records when the first frame reached the screen.
void OnSwap(int) { WriteResult("first_frame.txt", "first_swap_unix_seconds", UnixSeconds()); }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  FrameLoopOptions options;
  options.paced = false;
  options.frame_limit = 1;
  options.on_swap = OnSwap;
  return RunRenderer(options);
}
