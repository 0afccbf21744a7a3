// The renderer's program-wide state: its window and OpenGL context, the key
// table, and the one scene and model it shows. Everything runs on one thread.
#pragma once

#include <windows.h>

#include "flight_scene.h"
#include "mesh_model.h"
#include "contract/working_files.h"

extern HWND window;             // the renderer window
extern HDC device_context;      // the window's own DC, kept for the whole run
extern HGLRC render_context;    // current on device_context for the whole run
extern HINSTANCE instance;      // this program's module, for the window class
extern bool keys[256];          // key-state table indexed by virtual-key code
extern bool active;             // false while the window is minimised
extern bool fullscreen;         // always true: the renderer runs full screen
extern MeshModel* model;        // the aircraft, created at start and kept to the end
extern FlightScene scene;       // flight, camera, ground and sky

// The window's class and the fixed display mode.
constexpr char kRendererClassName[] = "OpenGL";
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kScreenBits = 32;
