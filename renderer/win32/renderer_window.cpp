#include "renderer_window.h"

#include <windowsx.h>

#include "flight_scene.h"
#include "picture_prefetch.h"
#include "pixel_format.h"
#include "renderer_state.h"
#include "scene_setup.h"
#include "startup_marks.h"

namespace {

// Set once the display mode is changed and the cursor hidden; the teardown
// undoes both exactly once, however often it runs.
bool display_mode_changed = false;

// Registers the window class "OpenGL" with its own DC.
bool RegisterRendererClass() {
  WNDCLASSA window_class = {};
  window_class.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  window_class.lpfnWndProc = RendererWindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIcon(nullptr, IDI_WINLOGO);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.lpszClassName = kRendererClassName;
  return RegisterClassA(&window_class) != 0;
}

// Switches the display to width x height x bits (no refresh rate given).
bool ChangeDisplayMode(int width, int height, int bits) {
  DEVMODEA mode = {};
  mode.dmSize = sizeof(DEVMODEA);
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  mode.dmBitsPerPel = static_cast<DWORD>(bits);
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

// Creates the window with a client area of width x height at the screen's corner.
HWND CreateSizedWindow(const char* title, int width, int height) {
  const DWORD ex_style = fullscreen ? WS_EX_APPWINDOW : WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
  const DWORD style = fullscreen ? WS_POPUP : WS_OVERLAPPEDWINDOW;
  RECT rect = {0, 0, width, height};
  AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  return CreateWindowExA(ex_style, kRendererClassName, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                         rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
}

// Gets the window's DC, sets the pixel format and makes a new context current on it.
bool CreateGlContext(int bits) {
  device_context = GetDC(window);
  if (!device_context) return false;
  const PIXELFORMATDESCRIPTOR format = DescribePixelFormat(bits);
  const int pixel_format = ChoosePixelFormat(device_context, &format);
  if (pixel_format == 0 || !SetPixelFormat(device_context, pixel_format, &format)) return false;
  render_context = wglCreateContext(device_context);
  return render_context && wglMakeCurrent(device_context, render_context);
}

// WM_ACTIVATE: frames are drawn unless the window is minimised.
void OnActivate(HWND, UINT, HWND, BOOL minimized) { active = !minimized; }

// WM_SYSCOMMAND: keeps the system screensaver and monitor power-off from starting.
LRESULT OnSysCommand(HWND hwnd, WPARAM command, LPARAM lparam) {
  if (command == SC_SCREENSAVE || command == SC_MONITORPOWER) return 0;
  return DefWindowProcA(hwnd, WM_SYSCOMMAND, command, lparam);
}

// WM_CLOSE: the loop sees the quit message and tears the window down itself.
void OnClose(HWND) { PostQuitMessage(0); }

// WM_KEYDOWN and WM_KEYUP: record the key's state.
void OnKey(HWND, UINT virtual_key, BOOL down, int, UINT) {
  if (virtual_key < 256) keys[virtual_key] = down != FALSE;  // a posted message may carry any value
}

// WM_SIZE: viewport and projection for the new client size.
void OnSize(HWND, UINT, int width, int height) { ResizeViewport(width, height); }

}  // namespace

// HANDLE_MSG expects the parameters to be named wParam and lParam.
LRESULT CALLBACK RendererWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
    HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
    HANDLE_MSG(hwnd, WM_KEYDOWN, OnKey);
    HANDLE_MSG(hwnd, WM_KEYUP, OnKey);
    HANDLE_MSG(hwnd, WM_SIZE, OnSize);
    case WM_SYSCOMMAND: return OnSysCommand(hwnd, wParam, lParam);
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

int CreateRendererWindow(const char* title, int width, int height, int bits, bool fullscreen_window,
                         bool prefetch_pictures) {
  PicturePrefetch pictures;
  // First: a desktop-sized ground picture takes longer to read and reduce to
  // its levels than the display, the window and the driver take to set up.
  if (prefetch_pictures) pictures.Start();
  fullscreen = fullscreen_window;
  instance = GetModuleHandleA(nullptr);
  if (!RegisterRendererClass()) return 0;
  if (fullscreen) {
    if (!ChangeDisplayMode(width, height, bits)) return 0;
    ShowCursor(FALSE);
    display_mode_changed = true;
  }
  window = CreateSizedWindow(title, width, height);
  if (!window || !CreateGlContext(bits)) {
    DestroyRendererWindow();
    return 0;
  }
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(window);
  ResizeViewport(width, height);
  MarkStartupPhase("window and context");
  if (!InitScene(scene, pictures.Take())) {
    DestroyRendererWindow();
    return 0;
  }
  return 1;
}

void DestroyRendererWindow() {
  if (display_mode_changed) {
    ChangeDisplaySettingsA(nullptr, 0);
    ShowCursor(TRUE);
    display_mode_changed = false;
  }
  if (render_context) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(render_context);
    render_context = nullptr;
  }
  if (device_context) {
    ReleaseDC(window, device_context);
    device_context = nullptr;
  }
  if (window) {
    DestroyWindow(window);
    window = nullptr;
  }
  UnregisterClassA(kRendererClassName, instance);
}
