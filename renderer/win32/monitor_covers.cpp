#include "monitor_covers.h"

#include <windows.h>

#include "renderer_state.h"
#include "renderer_window.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, RECT*, LPARAM list) {
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoA(monitor, &info)) {
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(
        {{r.left, r.top, r.right, r.bottom}, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

// The covers' class: black background, no cursor of its own (it is hidden).
bool RegisterCoverClass() {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = CoverWindowProc;
  window_class.hInstance = renderer.win32.instance;
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = kCoverClassName;
  return RegisterClassA(&window_class) != 0;
}

}  // namespace

std::vector<MonitorArea> ListMonitors() {
  std::vector<MonitorArea> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

void CreateCoverWindows(const std::vector<ScreenRect>& rects) {
  if (rects.empty() || !RegisterCoverClass()) return;
  for (const ScreenRect& rect : rects) {
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kCoverClassName, "", WS_POPUP, rect.left,
                                 rect.top, rect.width(), rect.height(), nullptr, nullptr, renderer.win32.instance,
                                 nullptr);
    if (!cover) continue;
    renderer.win32.covers.push_back(cover);
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    UpdateWindow(cover);
  }
}

void DestroyCoverWindows() {
  for (HWND cover : renderer.win32.covers) DestroyWindow(cover);
  renderer.win32.covers.clear();
  UnregisterClassA(kCoverClassName, renderer.win32.instance);
}
