// The renderer's program-wide state, in one place: what the window procedure
// needs (the key table, whether the window is minimised) and the Windows part
// (window, context, covers of the other monitors, the way it flies). The
// flight itself is RunRenderer's. Everything runs on one thread.
#pragma once

#include <windows.h>

#include <vector>

#include "display_plan.h"
#include "contract/working_files.h"

// What only the Windows layer knows: the handles it made and must release.
struct RendererWin32 {
  HWND window = nullptr;            // the renderer window
  HDC device_context = nullptr;     // the window's own DC, kept for the whole run
  HGLRC render_context = nullptr;   // current on device_context for the whole run
  HINSTANCE instance = nullptr;     // this program's module, for the window classes
  bool display_mode_changed = false;  // restored by the teardown, once
  bool cursor_hidden = false;         // shown again by the teardown, once
  std::vector<HWND> covers;         // black windows over the monitors the flight leaves out
  DisplayWay way = DisplayWay::kClassic;
  FlightProjection view;            // the projection every new size of the window keeps
};

struct RendererState {
  bool keys[256] = {};         // key-state table indexed by virtual-key code
  bool active = true;          // false while the window is minimised
  int frames_swapped = 0;      // by the frame loop; the window's kFrameCountProperty holds its address
  RendererWin32 win32;
};

extern RendererState renderer;

// The windows' classes and the fixed display mode.
constexpr char kRendererClassName[] = "OpenGL";
constexpr char kCoverClassName[] = "Skyliner cover";
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kScreenBits = 32;
