// The body of the renderer's loop on a pass that finds no message waiting,
// shared by the Windows loop and the Linux viewer.
#pragma once

#include "flight_host.h"
#include "flight_scene.h"
#include "frame_schedule.h"

// Draws a frame unless the window is minimised. Esc, or a frame that fails,
// ends the loop with that frame unshown: false. Otherwise the host presents
// the frame (minimised too), the camera schedule advances and the next frame
// is scheduled: true.
bool RunFramePass(FlightHost& host, FlightScene& scene, bool active, bool escape_pressed, FrameSchedule& schedule);
