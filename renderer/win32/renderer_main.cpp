// Skyliner.dll: the full-screen flight renderer, started by the saver with no
// arguments.
#include <windows.h>

#include "renderer_run.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunRenderer(FrameLoopOptions()); }
