#include "frame_pass.h"

bool RunFramePass(FlightScene& scene, bool active, bool escape_pressed, FrameSchedule& schedule,
                  const FramePassTarget& target) {
  bool done = false;
  if (active && !scene.DrawFrame()) done = true;
  if (escape_pressed) done = true;
  if (done) return false;  // a frame drawn on the pass that sees Esc is not shown
  target.swap_buffers(target.context);
  scene.AdvanceCameraSchedule();
  schedule.FrameShown();
  return true;
}
