#include "frame_loop.h"

#include <windows.h>

#include "frame_pacer.h"
#include "renderer_state.h"

namespace {

// Draws a frame unless minimised; true when the loop must end (Esc or a failed frame).
bool DrawPass() {
  bool done = false;
  if (active && !scene.DrawFrame()) done = true;
  if (keys[VK_ESCAPE]) done = true;
  return done;
}

}  // namespace

int RunFrameLoop(const FrameLoopOptions& options) {
  FramePacer pacer(kFramesPerSecond);
  MSG msg = {};
  int exit_code = 0;
  int frames_swapped = 0;
  bool done = false;
  while (!done) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        exit_code = static_cast<int>(msg.wParam);
        done = true;
      } else {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      continue;
    }
    if (options.paced && !pacer.WaitForFrameDue()) continue;  // a message came first
    done = DrawPass();
    if (done) break;  // a frame drawn on the pass that sees Esc is not shown
    SwapBuffers(device_context);
    scene.AdvanceCameraSchedule();
    pacer.FrameShown();
    ++frames_swapped;
    if (options.on_swap) options.on_swap(frames_swapped);
    if (options.frame_limit > 0 && frames_swapped >= options.frame_limit) done = true;
  }
  return exit_code;
}
