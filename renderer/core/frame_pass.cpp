#include "frame_pass.h"

bool RunFramePass(FlightHost& host, FlightScene& scene, bool active, bool escape_pressed, FrameSchedule& schedule) {
  if (active && !scene.DrawFrame()) return false;
  if (escape_pressed) return false;  // a frame drawn on the pass that sees Esc is not shown
  host.PresentFrame();
  scene.AdvanceCameraSchedule();
  schedule.FrameShown();
  return true;
}
