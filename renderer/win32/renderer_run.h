// The renderer program from start to end: model, window, frame loop, teardown.
#pragma once

#include "display_plan.h"
#include "frame_loop.h"

// Loads the model (exit code 0 without a window if it cannot be loaded), opens
// the full-screen window in the way given, seeds the generator, runs the loop
// and tears down. Returns the process exit code.
int RunRenderer(const FrameLoopOptions& options, DisplayWay way = DisplayWay::kClassic);
