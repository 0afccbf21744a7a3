// The message-and-render loop: window messages first, a frame whenever none
// is waiting, until a quit message, Esc, or the scene reports failure.
#pragma once

#include "contract/phase_marks.h"

// The renderer window's property that holds the address of the loop's count of swapped frames
// (renderer.frames_swapped): another process reads the count from this one's memory, so
// publishing it costs a frame nothing. The camera view follows the count.
constexpr char kFrameCountProperty[] = "Skyliner frames swapped";

class FlightHost;
class FlightScene;

struct FrameLoopOptions {
  bool paced = true;   // 60 frames per second; false draws as fast as the driver allows (benchmarks)
  int frame_limit = 0; // end after this many swapped frames; 0 runs until Esc or a close request
  void (*on_swap)(int frames_swapped, const FlightScene& scene) = nullptr;  // right after each swap (benchmarks)
  PhaseObserver on_phase = nullptr;  // the end of each start-up phase, from any thread (benchmarks)
};

// Runs until done and returns the exit code: the quit message's wParam, or 0.
int RunFrameLoop(const FrameLoopOptions& options, FlightHost& host, FlightScene& scene);
