#include "frame_pass.h"

bool RunFramePass(FlightScene& scene, bool active, bool escape_pressed, FrameSchedule& schedule,
                  const FramePassTarget& target) {
  if (active && !scene.DrawFrame()) return false;
  if (escape_pressed) return false;  // a frame drawn on the pass that sees Esc is not shown
  target.swap_buffers(target.context);
  scene.AdvanceCameraSchedule();
  schedule.FrameShown();
  return true;
}
