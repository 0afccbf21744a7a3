// The renderer drawing a fixed number of frames, paced (as shipped) or, with
// the argument "unpaced", as fast as it can; with "idle", paced and drawing
// nothing after the first frame, as when minimised, so that the loop's own
// cost shows. After a warm-up it measures the
// frames per second and the processor time per frame (all the process's
// threads, the driver's included) and writes them to frame_rate.txt in the
// current folder. With the renderer's every-monitor argument as well, it flies
// over the whole desktop at its own size instead of switching to 1024 x 768.
// With "floor", the same window and loop draw the floor frame (floor_frame.h)
// in place of the scene after the first frame, the yardstick of the others.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "bench_timing.h"
#include "floor_frame.h"
#include "contract/renderer_arguments.h"
#include "flight_scene.h"
#include "renderer_run.h"
#include "renderer_state.h"

namespace {

constexpr int kWarmUpFrames = 20;
constexpr int kMeasuredFrames = 300;
double measure_start = 0;
double cpu_start = 0;
bool idle = false;
bool floor_only = false;

// Starts the clocks after the warm-up and writes the figures after the last frame.
void OnSwap(int frames, const FlightScene& scene) {
  if (idle || floor_only) renderer.active = false;
  if (floor_only) DrawFloorFrame(scene.ground_texture);  // swapped on the next pass
  if (frames == kWarmUpFrames) {
    measure_start = CounterSeconds();
    cpu_start = ProcessCpuSeconds();
  }
  if (frames != kWarmUpFrames + kMeasuredFrames) return;
  const double fps = kMeasuredFrames / (CounterSeconds() - measure_start);
  const double cpu_ms = 1000.0 * (ProcessCpuSeconds() - cpu_start) / kMeasuredFrames;
  FILE* out = std::fopen("frame_rate.txt", "w");
  if (!out) return;
  std::fprintf(out, "frames_per_second %.6f\ncpu_ms_per_frame %.6f\n", fps, cpu_ms);
  std::fclose(out);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  FrameLoopOptions options;
  options.paced = std::strstr(command_line, "unpaced") == nullptr;
  idle = std::strstr(command_line, "idle") != nullptr;
  floor_only = std::strstr(command_line, "floor") != nullptr;
  options.frame_limit = kWarmUpFrames + kMeasuredFrames;
  options.on_swap = OnSwap;
  const bool every_monitor = std::strstr(command_line, kEveryMonitorArgument) != nullptr;
  return RunRenderer(options, every_monitor ? DisplayWay::kEveryMonitor : DisplayWay::kClassic);
}
