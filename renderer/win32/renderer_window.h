// The renderer window: class "OpenGL", the full-screen display mode and the
// OpenGL context, plus the window procedure.
#pragma once

#include <windows.h>

// Registers the class, switches the display mode, creates and shows the
// window, makes an OpenGL context current, sets the viewport and initialises
// the scene. With prefetch_pictures, the scene pictures are prepared on a
// thread of their own, started once the window exists. 1 on success; 0 on any
// failure, with what was made torn down.
int CreateRendererWindow(const char* title, int width, int height, int bits, bool fullscreen_window,
                         bool prefetch_pictures = false);

// Undoes CreateRendererWindow; each step is skipped when its resource does not
// exist, so it is safe after a partial creation and when called twice.
void DestroyRendererWindow();

LRESULT CALLBACK RendererWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
