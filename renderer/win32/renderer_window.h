// The renderer window: class "OpenGL", the full-screen display mode and the
// OpenGL context, plus the window procedures of the flight and of the covers
// over the other monitors.
#pragma once

#include <windows.h>

#include "display_plan.h"

// Registers the class; in the classic way switches the display mode (or,
// where the display refuses it, keeps the current one), covers the other
// monitors and creates the window over the primary monitor; in the
// every-monitor way changes no mode and creates one topmost window over all
// monitors. Then shows the window and makes an OpenGL context current; the
// flight's area goes to *flight when it is given. False on any failure, with
// what was made torn down.
bool CreateRendererWindow(const char* title, int width, int height, int bits, DisplayWay way = DisplayWay::kClassic,
                          ScreenRect* flight = nullptr);

// Undoes CreateRendererWindow; each step is skipped when its resource does not
// exist, so it is safe after a partial creation and when called twice.
void DestroyRendererWindow();

LRESULT CALLBACK RendererWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CoverWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
