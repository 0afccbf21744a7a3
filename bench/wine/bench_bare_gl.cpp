// The yardstick the renderer's start-up is held to: the least a full-screen
// OpenGL program does before its first frame (display mode, popup window,
// pixel format, context, one clear and swap). It writes the wall-clock time of
// that swap to bare_frame.txt in the current folder, then undoes it all.
#include <windows.h>

#include <GL/gl.h>

#include "bench_timing.h"
#include "pixel_format.h"

namespace {

constexpr char kClassName[] = "BareGl";

LRESULT CALLBACK BareWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

bool SwitchMode() {
  DEVMODEA mode = {};
  mode.dmSize = sizeof(DEVMODEA);
  mode.dmPelsWidth = 1024;
  mode.dmPelsHeight = 768;
  mode.dmBitsPerPel = 32;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

// One cleared frame on a new context; false if any step fails.
bool ClearAndSwap(HDC dc) {
  const PIXELFORMATDESCRIPTOR format = DescribePixelFormat(32);
  const int pixel_format = ChoosePixelFormat(dc, &format);
  if (pixel_format == 0 || !SetPixelFormat(dc, pixel_format, &format)) return false;
  HGLRC context = wglCreateContext(dc);
  if (!context) return false;
  const bool current = wglMakeCurrent(dc, context) != FALSE;
  if (current) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SwapBuffers(dc);
    WriteResult("bare_frame.txt", "first_swap_unix_seconds", UnixSeconds());
    wglMakeCurrent(nullptr, nullptr);
  }
  wglDeleteContext(context);
  return current;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA window_class = {};
  window_class.style = CS_OWNDC;
  window_class.lpfnWndProc = BareWindowProc;
  window_class.hInstance = instance;
  window_class.lpszClassName = kClassName;
  if (!RegisterClassA(&window_class) || !SwitchMode()) return 1;
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, kClassName, "bare", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                0, 0, 1024, 768, nullptr, nullptr, instance, nullptr);
  bool drawn = false;
  if (window) {
    ShowWindow(window, SW_SHOW);
    HDC dc = GetDC(window);
    drawn = dc && ClearAndSwap(dc);
    if (dc) ReleaseDC(window, dc);
    DestroyWindow(window);
  }
  ChangeDisplaySettingsA(nullptr, 0);
  return drawn ? 0 : 1;
}
