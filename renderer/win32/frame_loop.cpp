#include "frame_loop.h"

#include <windows.h>

#include "frame_pacer.h"
#include "frame_pass.h"
#include "renderer_state.h"

int RunFrameLoop(const FrameLoopOptions& options, FlightHost& host, FlightScene& scene) {
  FramePacer pacer(kFramesPerSecond, options.paced);
  MSG msg = {};
  int& frames_swapped = renderer.frames_swapped;
  frames_swapped = 0;
  for (;;) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      continue;
    }
    if (!pacer.WaitForFrameDue()) continue;  // a message came first
    if (!RunFramePass(host, scene, renderer.active, renderer.keys[VK_ESCAPE], pacer.schedule()))
      return 0;  // Esc
    ++frames_swapped;
    if (options.on_swap) options.on_swap(frames_swapped, scene);
    if (options.frame_limit > 0 && frames_swapped >= options.frame_limit) return 0;
  }
}
