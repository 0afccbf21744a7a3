// Skyliner.scr with its start-up phases observed. It writes the wall-clock
// time and the process's processor time at the end of each phase of the
// saver run's start to shell_phases.txt in the current folder, once the music
// has been started, the last of them.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "bench_timing.h"
#include "shell_main.h"

namespace {

struct PhaseEnd {
  const char* phase;
  double unix_seconds;
  double cpu_seconds;
};

constexpr int kMaxPhases = 32;
PhaseEnd phase_ends[kMaxPhases];
int phase_count = 0;

void WritePhases() {
  FILE* out = std::fopen("shell_phases.txt", "w");
  if (!out) return;
  for (int i = 0; i < phase_count; ++i)
    std::fprintf(out, "%.6f %.6f %s\n", phase_ends[i].cpu_seconds, phase_ends[i].unix_seconds, phase_ends[i].phase);
  std::fclose(out);
}

void OnPhaseEnd(const char* phase) {
  if (phase_count < kMaxPhases) phase_ends[phase_count++] = {phase, UnixSeconds(), ProcessCpuSeconds()};
  if (std::strcmp(phase, "music started") == 0) WritePhases();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  OnPhaseEnd("program entered");
  RunShell(OnPhaseEnd);
}
