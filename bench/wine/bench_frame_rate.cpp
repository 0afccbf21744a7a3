// The renderer drawing a fixed number of frames, paced (as shipped) or, with
// the argument "unpaced", as fast as it can. After a warm-up it measures the
// frames per second and writes them to frame_rate.txt in the current folder.
#include <windows.h>

#include <cstring>

#include "bench_timing.h"
#include "renderer_run.h"

namespace {

constexpr int kWarmUpFrames = 20;
constexpr int kMeasuredFrames = 300;
double measure_start = 0;

// Starts the clock after the warm-up and writes the rate after the last frame.
void OnSwap(int frames) {
  if (frames == kWarmUpFrames) measure_start = CounterSeconds();
  if (frames == kWarmUpFrames + kMeasuredFrames)
    WriteResult("frame_rate.txt", "frames_per_second", kMeasuredFrames / (CounterSeconds() - measure_start));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  FrameLoopOptions options;
  options.paced = std::strstr(command_line, "unpaced") == nullptr;
  options.frame_limit = kWarmUpFrames + kMeasuredFrames;
  options.on_swap = OnSwap;
  return RunRenderer(options);
}
