// Skyliner.dll: the full-screen flight renderer, started by the saver with no
// arguments, or with the one that spans every monitor.
#include <windows.h>

#include "display_plan.h"
#include "renderer_run.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  return RunRenderer(FrameLoopOptions(), DisplayWayFromArguments(command_line));
}
