// The renderer, unpaced, ending right after its first swapped frame. It writes
// the wall-clock time of that swap, the process's peak working set by then,
// and the end of each start-up phase, to first_frame.txt in the current folder.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "bench_timing.h"
#include "renderer_run.h"

namespace {

struct PhaseEnd {
  const char* phase;
  double unix_seconds;
};

constexpr LONG kMaxPhases = 32;
PhaseEnd phase_ends[kMaxPhases];
volatile LONG phase_count = 0;  // the pictures are marked from a thread of their own

void OnPhaseEnd(const char* phase) {
  const LONG slot = InterlockedIncrement(&phase_count) - 1;
  if (slot < kMaxPhases) phase_ends[slot] = {phase, UnixSeconds()};
}

// Records when the first frame reached the screen, and the phases before it.
void OnSwap(int, const FlightScene&) {
  const double swapped = UnixSeconds();
  FILE* out = std::fopen("first_frame.txt", "w");
  if (!out) return;
  std::fprintf(out, "first_swap_unix_seconds %.6f\n", swapped);
  PROCESS_MEMORY_COUNTERS memory = {};
  if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory)))
    std::fprintf(out, "peak_working_set_bytes %lu\n", static_cast<unsigned long>(memory.PeakWorkingSetSize));
  for (LONG i = 0; i < phase_count && i < kMaxPhases; ++i)
    std::fprintf(out, "phase %.6f %s\n", phase_ends[i].unix_seconds, phase_ends[i].phase);
  std::fclose(out);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  OnPhaseEnd("program entered");
  FrameLoopOptions options;
  options.on_phase = OnPhaseEnd;
  options.paced = false;
  options.frame_limit = 1;
  options.on_swap = OnSwap;
  return RunRenderer(options);
}
