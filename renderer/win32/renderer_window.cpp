#include "renderer_window.h"

#include <windowsx.h>

#include "display_plan.h"
#include "frame_loop.h"
#include "monitor_covers.h"
#include "pixel_format.h"
#include "renderer_state.h"
#include "scene_setup.h"

namespace {

// Registers the window class "OpenGL" with its own DC.
bool RegisterRendererClass() {
  WNDCLASSA window_class = {};
  window_class.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
  window_class.lpfnWndProc = RendererWindowProc;
  window_class.hInstance = renderer.win32.instance;
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

// Creates the borderless window with its client area on the given rectangle;
// over every monitor it is topmost, as no cover keeps the desktop's windows away.
HWND CreateFlightWindow(const char* title, const ScreenRect& area, DisplayWay way) {
  const DWORD extended = WS_EX_APPWINDOW | (way == DisplayWay::kEveryMonitor ? WS_EX_TOPMOST : 0);
  RECT rect = {area.left, area.top, area.right, area.bottom};
  AdjustWindowRectEx(&rect, WS_POPUP, FALSE, extended);
  return CreateWindowExA(extended, kRendererClassName, title, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                         rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                         renderer.win32.instance, nullptr);
}

// Gets the window's DC, sets the pixel format and makes a new context current on it.
bool CreateGlContext(int bits) {
  RendererWin32& w = renderer.win32;
  w.device_context = GetDC(w.window);
  if (!w.device_context) return false;
  const PIXELFORMATDESCRIPTOR format = DescribePixelFormat(bits);
  const int pixel_format = ChoosePixelFormat(w.device_context, &format);
  if (pixel_format == 0 || !SetPixelFormat(w.device_context, pixel_format, &format)) return false;
  w.render_context = wglCreateContext(w.device_context);
  return w.render_context && wglMakeCurrent(w.device_context, w.render_context);
}

// WM_ACTIVATE: frames are drawn unless the window is minimised.
void OnActivate(HWND, UINT, HWND, BOOL minimized) { renderer.active = !minimized; }

// WM_SYSCOMMAND: keeps the system screensaver and monitor power-off from starting.
LRESULT OnSysCommand(HWND hwnd, WPARAM command, LPARAM lparam) {
  if (command == SC_SCREENSAVE || command == SC_MONITORPOWER) return 0;
  return DefWindowProcA(hwnd, WM_SYSCOMMAND, command, lparam);
}

// WM_CLOSE: the loop sees the quit message and tears the window down itself.
void OnClose(HWND) { PostQuitMessage(0); }

// WM_KEYDOWN and WM_KEYUP: record the key's state.
void OnKey(HWND, UINT virtual_key, BOOL down, int, UINT) {
  if (virtual_key < 256) renderer.keys[virtual_key] = down != FALSE;  // a posted message may carry any value
}

// WM_MOUSEACTIVATE on a cover: a click leaves the focus with the flight.
int OnMouseActivate(HWND, HWND, UINT, UINT) { return MA_NOACTIVATE; }

// Viewport and projection for the client size, in the way the run flies.
void SetViewport(int width, int height) {
  if (renderer.win32.way == DisplayWay::kEveryMonitor) {
    ResizeViewport(width, height, renderer.win32.view);
  } else {
    ResizeViewport(width, height);
  }
}

// WM_SIZE: viewport and projection for the new client size.
void OnSize(HWND, UINT, int width, int height) { SetViewport(width, height); }

// The routes the flight's window and the covers share: keys and close
// requests end the run alike. HANDLE_MSG expects the parameters to be named
// wParam and lParam.
LRESULT RouteRunMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
    HANDLE_MSG(hwnd, WM_KEYDOWN, OnKey);
    HANDLE_MSG(hwnd, WM_KEYUP, OnKey);
    case WM_SYSCOMMAND: return OnSysCommand(hwnd, wParam, lParam);
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK RendererWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(hwnd, WM_ACTIVATE, OnActivate);
    HANDLE_MSG(hwnd, WM_SIZE, OnSize);
  }
  return RouteRunMessage(hwnd, message, wParam, lParam);
}

// Clicks on a cover do nothing.
LRESULT CALLBACK CoverWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    HANDLE_MSG(hwnd, WM_MOUSEACTIVATE, OnMouseActivate);
  }
  return RouteRunMessage(hwnd, message, wParam, lParam);
}

bool CreateRendererWindow(const char* title, int width, int height, int bits, DisplayWay way, ScreenRect* flight) {
  RendererWin32& w = renderer.win32;
  w.instance = GetModuleHandleA(nullptr);
  if (!RegisterRendererClass()) return false;
  w.way = way;
  // A display that refuses the mode still gets the flight, at the mode it has.
  w.display_mode_changed = SwitchesDisplayMode(way) && ChangeDisplayMode(width, height, bits);
  ShowCursor(FALSE);
  w.cursor_hidden = true;
  // Listed only now: the switch moves the other monitors.
  const DisplayPlan plan = PlanDisplays(way, ListMonitors(), width, height, w.display_mode_changed);
  w.view = plan.view;
  CreateCoverWindows(plan.covers);
  w.window = CreateFlightWindow(title, plan.flight, way);
  if (!w.window || !CreateGlContext(bits)) {
    DestroyRendererWindow();
    return false;
  }
  SetPropA(w.window, kFrameCountProperty, &renderer.frames_swapped);
  ShowWindow(w.window, SW_SHOW);
  SetForegroundWindow(w.window);
  SetFocus(w.window);
  if (flight) *flight = plan.flight;
  return true;
}

void DestroyRendererWindow() {
  RendererWin32& w = renderer.win32;
  if (w.display_mode_changed) {
    ChangeDisplaySettingsA(nullptr, 0);
    w.display_mode_changed = false;
  }
  if (w.cursor_hidden) {
    ShowCursor(TRUE);
    w.cursor_hidden = false;
  }
  if (w.render_context) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(w.render_context);
    w.render_context = nullptr;
  }
  if (w.device_context) {
    ReleaseDC(w.window, w.device_context);
    w.device_context = nullptr;
  }
  if (w.window) {
    RemovePropA(w.window, kFrameCountProperty);
    DestroyWindow(w.window);
    w.window = nullptr;
  }
  DestroyCoverWindows();
  UnregisterClassA(kRendererClassName, w.instance);
}
