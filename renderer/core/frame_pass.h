// The body of the renderer's loop on a pass that finds no message waiting,
// shared by the Windows loop and the Linux viewer.
#pragma once

#include "flight_scene.h"
#include "frame_schedule.h"

// What the loop's platform supplies for a pass.
struct FramePassTarget {
  void (*swap_buffers)(void* context);
  void* context;
};

// Draws a frame unless the window is minimised. Esc, or a frame that fails,
// ends the loop with that frame unshown: false. Otherwise the buffers are
// swapped (minimised too), the camera schedule advances and the next frame is
// scheduled: true.
bool RunFramePass(FlightScene& scene, bool active, bool escape_pressed, FrameSchedule& schedule,
                  const FramePassTarget& target);
