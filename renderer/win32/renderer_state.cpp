#include "renderer_state.h"

HWND window = nullptr;
HDC device_context = nullptr;
HGLRC render_context = nullptr;
HINSTANCE instance = nullptr;
bool keys[256] = {};
bool active = true;
bool fullscreen = true;
MeshModel* model = nullptr;
FlightScene scene;
