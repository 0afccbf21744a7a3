#include "preview_form.h"

#include <windows.h>

#include "form.h"

namespace {

// The parent lives in another process. When that process dies, the system
// takes the preview window along without a WM_DESTROY here, and the window's
// own timers with it; so a thread timer checks both windows once a second.
constexpr unsigned kParentCheckMs = 1000;

struct Preview {
  Form form{kPreviewFormDesign};
  HWND parent = nullptr;
};

Preview& ThePreview() {
  static Preview preview;
  return preview;
}

// Unload event: a close request to its own window (the window goes in any case).
void OnUnload() {
  HWND window = ThePreview().form.window();
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
}

void CALLBACK OnParentCheckTick(HWND, UINT, UINT_PTR, DWORD) {
  Preview& preview = ThePreview();
  if (!IsWindow(preview.parent) || !IsWindow(preview.form.window())) preview.form.Unload();
}

}  // namespace

bool ShowPreviewForm(int64_t parent_handle) {
  HWND parent = reinterpret_cast<HWND>(static_cast<intptr_t>(parent_handle));
  if (parent_handle == 0 || !IsWindow(parent)) return false;
  Preview& preview = ThePreview();
  preview.parent = parent;
  RECT area = {};
  GetWindowRect(parent, &area);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  preview.form.on_unload = OnUnload;
  if (!preview.form.Load()) return false;
  HWND window = preview.form.window();
  SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) | WS_CHILD);
  SetParent(window, parent);
  preview.form.Move(0, 0, width, height);
  if (FormElement* image = preview.form.Element(element_names::kPreviewImage)) {
    preview.form.MoveElement(*image, 0, 0, width, height);
  }
  SetTimer(nullptr, 0, kParentCheckMs, OnParentCheckTick);
  preview.form.Show();
  return true;
}
