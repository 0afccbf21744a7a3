#include "shell_ui.h"

#include "resource_ids.h"

namespace {

ScreenPointer screen_pointer = ScreenPointer::kDefault;

}  // namespace

void SetScreenPointer(ScreenPointer pointer) {
  screen_pointer = pointer;
  SetCursor(LoadCursor(nullptr, pointer == ScreenPointer::kHourglass ? IDC_WAIT : IDC_ARROW));
}

ScreenPointer CurrentScreenPointer() { return screen_pointer; }

MouseButton PressOf(UINT message) {
  switch (message) {
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: return MouseButton::kRight;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: return MouseButton::kMiddle;
    default: return MouseButton::kLeft;
  }
}

namespace {

// Space released or Return pressed on a control that calls itself a button.
bool PressesFocusedButton(MSG& message) {
  const bool space = message.message == WM_KEYUP && message.wParam == VK_SPACE;
  const bool enter = message.message == WM_KEYDOWN && message.wParam == VK_RETURN && !(message.lParam & 0x40000000);
  if (!space && !enter) return false;
  const LRESULT code = SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
  return (code & DLGC_BUTTON) != 0;
}

// The dialog keyboard: Space and Return press the focused button (a
// BN_CLICKED command to the form); Tab, Shift+Tab and Esc as in any dialog.
// True when the message was handled so.
bool HandledAsDialogKey(MSG& message) {
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (!root) return false;
  if (!PressesFocusedButton(message)) return IsDialogMessageW(root, &message) != FALSE;
  SendMessageW(root, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(message.hwnd));
  return true;
}

}  // namespace

void RunMessagesWhile(const std::function<bool()>& keep_running) {
  MSG message;
  while (keep_running() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (HandledAsDialogKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void* WindowOwner(HWND hwnd) { return reinterpret_cast<void*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

bool KeepWindowOwner(HWND hwnd, UINT message, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return WindowOwner(hwnd) != nullptr;
}

bool RegisterShellWindowClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.lpszClassName = name;
  return RegisterClassExW(&window_class) != 0;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int PictureResourceId(DesignPicture picture) {
  switch (picture) {
    case DesignPicture::kSky: return IDB_SKY;
    case DesignPicture::kPuff: return IDB_PUFF;
    case DesignPicture::kPreview: return IDB_PREVIEW;
    case DesignPicture::kPreviewBackground: return IDB_PREVIEW_BACKGROUND;
    case DesignPicture::kMetalStrip: return IDB_METAL_STRIP;
    case DesignPicture::kMarkEmpty: return IDB_MARK_EMPTY;
    case DesignPicture::kMarkChosen: return IDB_MARK_CHOSEN;
    case DesignPicture::kNone: break;
  }
  return 0;
}
